#include "searcher/report/row_sort.h"

#include <string>

#include "searcher/report/text_order.h"

namespace lorvane {
namespace {

class ColumnQuickSort {
 public:
  ColumnQuickSort(ReportTable& table, int column, bool ascending)
      : table_(table), column_(column), ascending_(ascending) {}

  void Sort(int first, int last) {
    while (first < last) {
      // A copy: the pivot's row may move while the range is split.
      const std::string pivot = Key((first + last) / 2);
      int left = first;
      int right = last;
      while (left <= right) {
        while (left < last && Before(Key(left), pivot)) ++left;
        while (right > first && Before(pivot, Key(right))) --right;
        if (left <= right) {
          if (CompareText(Key(left), Key(right)) != 0) table_.SwapRows(left, right);
          ++left;
          --right;
        }
      }
      // The two parts don't overlap, so the order they are sorted in changes
      // nothing; recursing into the smaller one keeps the stack shallow.
      if (right - first < last - left) {
        if (first < right) Sort(first, right);
        first = left;
      } else {
        if (left < last) Sort(left, last);
        last = right;
      }
    }
  }

 private:
  const std::string& Key(int row) const { return table_.CellText(row, column_); }
  // Whether a row of text `a` belongs before one of text `b` in this direction.
  bool Before(const std::string& a, const std::string& b) const {
    const int order = CompareText(a, b);
    return ascending_ ? order < 0 : order > 0;
  }

  ReportTable& table_;
  const int column_;
  const bool ascending_;
};

}  // namespace

bool SortRowsByColumnText(ReportTable& table, int column, bool ascending, int first, int last) {
  if (!table.HasColumn(column)) return false;
  if (last == -1) last = table.RowCount() - 1;
  if (first >= last || first < 0 || last >= table.RowCount()) return false;
  ColumnQuickSort(table, column, ascending).Sort(first, last);
  return true;
}

}  // namespace lorvane
