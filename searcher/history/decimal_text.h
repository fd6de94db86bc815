// Numbers in descriptor fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lorvane {

// Leading white space and one sign, then digits up to the first other
// character; no digits read as 0. Values beyond 64 bits stop at the largest.
int64_t ReadDecimal(std::string_view text);

}  // namespace lorvane
