// Column widths of the report list, in pixels.
#pragma once

#include <algorithm>
#include <cstddef>

#include "searcher/report/report_constants.h"

namespace lorvane {

// A column made from a title of `titleBytes` bytes: a rough fit for the
// list's font, before AutoSizeColumns measures it.
constexpr int TitleColumnWidth(size_t titleBytes) {
  return kTitleByteWidth * static_cast<int>(titleBytes) + kColumnPadding;
}

// A column fitted by the list to its contents (`contents`) and to its contents
// and title (`contentsAndTitle`): the larger, at least kMinFittedWidth, and
// some room to spare.
constexpr int FittedColumnWidth(int contents, int contentsAndTitle) {
  return std::max({contents, contentsAndTitle, kMinFittedWidth}) + kColumnPadding;
}

}  // namespace lorvane
