// Names in the order the lists of file names show them.
#pragma once

#include <string_view>

namespace suite {

// True when `left` sorts before `right`: by name without regard to case (the
// letters A-Z of the code page in force, trail bytes untouched), then, for
// names that differ only in case, by their bytes, so the order is total.
bool NameSortsBefore(std::string_view left, std::string_view right);

}  // namespace suite
