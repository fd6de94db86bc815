// Line counts shown in groups of ten thousand: "共 12 3456 行".
#pragma once

#include <cstdint>
#include <string>

namespace lorvane {

// "共 %ld %04d 行" with n / 10000 and n mod 10000, in the code page in force.
std::string FormatCountText(int64_t count);

// "读入 %ld 行": the lines a search has read so far, in the code page in force.
std::string FormatReadLinesText(int64_t lines);

}  // namespace lorvane
