// One column of the report list.
#pragma once

#include <string>

namespace lorvane {

enum class ColumnAlignment { kLeft, kRight, kCentre };

struct ReportColumn {
  std::string title;
  int width = 0;  // pixels
  ColumnAlignment alignment = ColumnAlignment::kLeft;
};

}  // namespace lorvane
