// Size texts: "1K 512B", "1M 0K 0B", "1G 512M 0K 0B".
#pragma once

#include <cstdint>
#include <string>

namespace suite {

// Byte counts are 64-bit, so sizes of 2 GB and more read as whole gigabytes
// ("3G 0M 0K 0B"); a stored text and a fresh one compare equal exactly when
// the size is unchanged. A negative count gives "0B".
std::string FormatSizeText(int64_t bytes);

// Size text of a file opened for reading with no sharing; the empty text when
// it can't be opened (missing, not a regular file, or held by another program).
std::string FileSizeText(const std::string& path);

}  // namespace suite
