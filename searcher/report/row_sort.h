// The report list's sort by the text of one column.
#pragma once

#include "searcher/report/report_table.h"

namespace lorvane {

// Sorts rows first to last (-1: the last row) in place by their text in
// `column`, compared with CompareText, ascending or descending. A quick sort
// on the middle row's text: rows swap whole, and never two rows of equal
// text, but equal texts keep no defined order among themselves.
// False, changing nothing, when the column doesn't exist, the range lies
// outside the rows or holds fewer than two of them.
bool SortRowsByColumnText(ReportTable& table, int column, bool ascending, int first, int last);

}  // namespace lorvane
