#include "searcher/report/row_details.h"

#include "common/codepage.h"
#include "searcher/report/field_text.h"

namespace lorvane {

std::string RowDetailsText(const ReportTable& table, int row) {
  if (!table.HasRow(row)) return std::string();
  std::string details = suite::Cp("第") + CFieldText::IntToText(row + 1) + suite::Cp("行") + "\n\n";
  for (int column = 0; column < table.ColumnCount(); ++column) {
    details += "(" + CFieldText::IntToText(column + 1) + ") " + table.Column(column).title + " : " +
               table.CellText(row, column) + "\n";
  }
  return details;
}

}  // namespace lorvane
