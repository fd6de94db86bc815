// The keyword search: every matching line into paged result files.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/tuning.h"
#include "searcher/engine/result_sink.h"  // FormatResultRecord, TabsAsBlanks

namespace lorvane {

class LorvaneWindow;
struct SearchContext;

// "开始搜索": checks the keyword and the target path of the form and starts
// the search worker. Runs on the window's thread.
void OnBtnStartSearch(LorvaneWindow& window);

// The body of CLorvaneDlg::_thr_search: searches the target of the window's
// form for its keyword into result files "%06d.txt" of at most 2000 records in
// a fresh history directory, shows the first file's records as it goes and
// writes the history descriptor before it unlocks the window. The context's
// quick index becomes that of the file as the search read it. Gives 0 when it
// completed, -1 when it failed (a descriptor that couldn't be written too).
int Search(LorvaneWindow& window, SearchContext& context, size_t windowSize = suite::kMapWindowSize);

}  // namespace lorvane
