#include <cerrno>
#include <iconv.h>
#include <string>
#include <vector>

#include "common/codepage_convert.h"

namespace suite::codepage_detail {
namespace {

// Opening a converter costs more than converting a status line, so each thread
// keeps the few it uses open for its lifetime.
iconv_t OpenConverter(const char* to, const char* from) {
  struct Cached {
    std::string to, from;
    iconv_t cd;
  };
  struct Cache {
    std::vector<Cached> entries;
    ~Cache() {
      for (auto& entry : entries) {
        if (entry.cd != reinterpret_cast<iconv_t>(-1)) ::iconv_close(entry.cd);
      }
    }
  };
  thread_local Cache cache;
  for (const auto& entry : cache.entries) {
    if (entry.to == to && entry.from == from) return entry.cd;
  }
  cache.entries.push_back({to, from, ::iconv_open(to, from)});
  return cache.entries.back().cd;
}

}  // namespace

// One iconv pass.
std::string Convert(const char* to, const char* from, std::string_view input, const OnInvalid& onInvalid) {
  std::string output;
  iconv_t cd = OpenConverter(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    output.assign(input);
    return output;
  }
  ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
  output.reserve(input.size() * 3 / 2 + 16);
  char chunk[4096];
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  while (inLeft > 0) {
    char* out = chunk;
    size_t outLeft = sizeof chunk;
    const size_t result = ::iconv(cd, &in, &inLeft, &out, &outLeft);
    output.append(chunk, static_cast<size_t>(out - chunk));
    if (result == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (a cut sequence at the end): replace what doesn't convert, go on.
      const size_t skipped = onInvalid(output, std::string_view(in, inLeft));
      in += skipped;
      inLeft -= skipped;
      ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  char* out = chunk;
  size_t outLeft = sizeof chunk;
  ::iconv(cd, nullptr, nullptr, &out, &outLeft);
  output.append(chunk, static_cast<size_t>(out - chunk));
  return output;
}

}  // namespace suite::codepage_detail
