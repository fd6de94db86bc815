// One row of the report list: its cells and what the list keeps beside them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lorvane {

// The item state bits a sort carries along with the row.
struct RowState {
  bool cut = false;
  bool dropHighlighted = false;
  bool focused = false;
  bool selected = false;
  int overlayImage = 0;  // 0: none
  int stateImage = 0;    // 0: no check box; 1 and 2 the check box's two faces
  friend bool operator==(const RowState&, const RowState&) = default;
};

struct ReportRow {
  std::vector<std::string> cells;  // one per column
  int image = 0;
  std::intptr_t data = 0;
  RowState state;
};

}  // namespace lorvane
