// The last occurrence of a byte in a block, searched from its end.
#pragma once

#include <cstddef>
#include <cstring>

namespace suite {

// The last `byte` in [data, data + size), or nullptr when there is none.
// glibc's memrchr is vectorised; other C libraries may lack it.
inline const char* FindLastByte(const char* data, size_t size, char byte) {
#if defined(__GLIBC__)
  return static_cast<const char*>(::memrchr(data, byte, size));
#else
  for (size_t i = size; i > 0; --i) {
    if (data[i - 1] == byte) return data + i - 1;
  }
  return nullptr;
#endif
}

}  // namespace suite
