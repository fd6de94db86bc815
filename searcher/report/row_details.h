// The details box of a double-clicked row.
#pragma once

#include <string>

#include "searcher/report/report_table.h"

namespace lorvane {

// "第<row + 1>行", two line feeds, then one line per column:
// "(<column + 1>) <title> : <cell>". Code-page text; empty for a row that
// doesn't exist.
std::string RowDetailsText(const ReportTable& table, int row);

}  // namespace lorvane
