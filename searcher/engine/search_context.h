// The searcher's one search context, and where it keeps its files.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/codepage_choice.h"
#include "common/file_places.h"
#include "searcher/engine/quick_index.h"
#include "searcher/history/log_identity.h"

namespace lorvane {

class LorvaneWindow;

// Shared by the window's thread and one worker at a time; the window's lock
// (EnableControls) is what keeps a second worker out.
struct SearchContext {
  std::string targetPath;        // file-system bytes
  std::string keyword;           // in the target's code page
  // The target's code page, found at its pre-read and its search, kept with a
  // history; read by the window's thread to show the target's lines.
  std::atomic<suite::CodePageChoice> codePage{};
  std::string historyDirectory;  // full path
  std::string viewDirectory;     // see ViewFileDirectory
  int64_t totalLineCount = 0;
  QuickIndex quickIndex;
  // What the last search, or the restored history, knows of the target: its
  // pages and views refuse a log that is no longer the one searched. None
  // after a pre-read (its index is of the log as it is) or for a history from
  // before.
  std::optional<LogIdentity> targetIdentity;
  // The history directory holds the search the window shows: set by a search
  // that wrote its descriptor and by a restore, cleared by a pre-read (the
  // window then shows another file, or the same one anew). F8 goes on with it.
  bool historyShown = false;
  std::atomic<int32_t> workerDone{0};  // 1 once the last worker has finished; polled by the splash
  std::string workDirectory;
  std::string clipboardDirectory;
  std::vector<std::string> extensions;
};

inline constexpr const char* kWorkDirectoryName = "__Lorvane__";
inline constexpr const char* kClipboardDirectoryName = "__Clipboard__";
// The work directory is kWorkDirectoryName beside a portable program, else
// "lorvane" in the user's state directory.
inline constexpr suite::FilesRequest kSearcherFiles{kWorkDirectoryName, suite::UserPlace::kState, "lorvane"};

// Where this program keeps its work directory (see suite::ProgramFilePlace).
suite::FilePlace ProgramFiles();
std::string ProgramWorkDirectory();

// The file types the chooser offers and drops accept, in this order.
const std::vector<std::string>& AcceptedExtensions();

// The engine's part of the window's start-up: posts "CLorvaneDlg::__initiate()",
// sets and creates the work directory `workDirectory` (no separator at its
// end) and the clipboard directory in it, and fills the extension list. A
// directory that can't be made is not reported here; the first file that
// can't be written is.
void StartUpEngine(LorvaneWindow& window, SearchContext& context, const std::string& workDirectory);
// The same in `place`'s directory; a program that couldn't read its own folder
// says so first, and where its files go instead.
void StartUpEngine(LorvaneWindow& window, SearchContext& context, const suite::FilePlace& place);

// Sets the history directory to the work directory + a time stamp of now and
// creates it; an existing one is never taken over (see MakeFreshStampedDirectory).
void MakeHistoryDirectory(SearchContext& context);

// Before a content view: makes the work directory if it is missing, and a fresh
// history directory if the current one is missing (no search yet, or deleted).
void EnsureHistoryDirectory(SearchContext& context);

// Where a content view or a page copy is written: the history directory when
// it is one of the work directory's own; for a search restored from a
// descriptor that lies elsewhere, a fresh history directory made for them
// once, so that nothing is ever written outside the work directory.
std::string ViewFileDirectory(SearchContext& context);

}  // namespace lorvane
