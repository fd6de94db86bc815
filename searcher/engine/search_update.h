// A search that goes on over what was appended to its log since it ran.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/line_quantities.h"
#include "common/tuning.h"
#include "searcher/history/log_identity.h"

namespace suite {
class ExclusiveFile;
}

namespace lorvane {

class LorvaneWindow;
struct SearchContext;

// What a search that went on added.
struct ContinuedSearch {
  bool grew = false;             // the log had grown: the history was updated
  LogChange change = LogChange::kSame;  // what became of the log
  int64_t firstNewResult = 0;    // the number of the first record written (from 1); 0 for none
  int64_t results = 0;           // the history's records now
  int64_t wholeLineResults = 0;  // ... less one of a last line that has no LF yet
  suite::LineCount lines{0};     // the log's lines now
  bool lastLineEnded = true;     // the last of them has its LF
};

// The body of the "继续搜索" worker: goes on with the search of the context's
// history (its directory's descriptor, whichever search made it) over what
// was appended to its log since, at a cost that grows with what was appended.
// The quick index is extended from its last entry, only the new lines are
// searched, and their records go on in the last result file and new ones.
// A last line that had no LF is searched again whole, its record replaced.
// The history is then what a fresh search of the grown log would have
// written. Every file it changes is written aside first and the whole put in
// place together, so a history cut short at any point restores as before or
// as after. The context and the window's figures and lists follow.
//
// Gives 0 when the history is that of the log as it is now (also when
// nothing was appended), -1 after saying why it failed: no history, one
// from before logs had identities, a log replaced, cut or held, a changed
// code page, or a file that can't be read or written. A failure leaves the
// history as it was.
//
// `openLog`: the log already open, read instead of the file at its path (a
// follow reads the file it follows to its end, even once it was rotated away).
int ContinueSearch(LorvaneWindow& window, SearchContext& context, ContinuedSearch* continued = nullptr,
                   size_t windowSize = suite::kMapWindowSize, suite::ExclusiveFile* openLog = nullptr);

// F8 ("继续搜索"): starts the worker when the window shows a search (one
// made or restored, not a pre-read since), else says there is none.
void OnContinueSearchKey(LorvaneWindow& window, const SearchContext& context);

// The records of a history less one of a last line that has no LF yet (a
// result that may still grow): those a follow prints.
int64_t WholeLineResults(const std::string& directory, int64_t results, const LogIdentity& identity);

}  // namespace lorvane
