#include "common/size_text.h"

#include <cinttypes>
#include <cstdio>

#include "common/exclusive_file.h"

namespace suite {

std::string FormatSizeText(int64_t bytes) {
  constexpr int64_t kK = 1024, kM = 1048576, kG = 1073741824;
  const int64_t n = bytes < 0 ? 0 : bytes;
  char text[96];
  if (n < kK) {
    std::snprintf(text, sizeof text, "%" PRId64 "B", n);
  } else if (n < kM) {
    std::snprintf(text, sizeof text, "%" PRId64 "K %" PRId64 "B", n / kK, n % kK);
  } else if (n < kG) {
    std::snprintf(text, sizeof text, "%" PRId64 "M %" PRId64 "K %" PRId64 "B", n / kM, n % kM / kK, n % kK);
  } else {
    std::snprintf(text, sizeof text, "%" PRId64 "G %" PRId64 "M %" PRId64 "K %" PRId64 "B", n / kG,
                  n % kG / kM, n % kM / kK, n % kK);
  }
  return text;
}

std::string FileSizeText(const std::string& path) {
  ExclusiveFile file;
  if (!file.Open(path)) return std::string();
  return FormatSizeText(file.Size());
}

}  // namespace suite
