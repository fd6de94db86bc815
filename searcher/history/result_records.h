// Reading a history's records back, by number, across its result files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace lorvane {

// Hands the records numbered `first` to `last` (from 1) to `take`, in order,
// each without its CR LF, until `take` gives false. False when a result file
// can't be read, or a record is missing or misnumbered.
bool ForEachResultRecord(const std::string& directory, int64_t first, int64_t last,
                         const std::function<bool(std::string_view record)>& take);

}  // namespace lorvane
