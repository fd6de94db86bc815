// Fixed sizes and texts of the report list.
#pragma once

#include <cstddef>

namespace lorvane {

// A row's cell takes a field through a buffer of 10240 bytes with its
// terminating NUL, so at most 10239 bytes of it.
inline constexpr size_t kCellBufferBytes = 10240;
inline constexpr size_t kMaxCellBytes = kCellBufferBytes - 1;

// A column made from a title is 6 pixels per title byte and 20 more wide.
inline constexpr int kTitleByteWidth = 6;
inline constexpr int kColumnPadding = 20;
// An auto-sized column is at least this wide before its padding.
inline constexpr int kMinFittedWidth = 10;

// Shown while the list has no rows, this far under the header.
inline constexpr char kEmptyListText[] = "-- ENJOY YOUR SEARCH TIME --";
inline constexpr int kEmptyListTextGap = 10;

// The separator of the texts handed to the double-click handler.
inline constexpr char kRowTextSeparator = '|';

}  // namespace lorvane
