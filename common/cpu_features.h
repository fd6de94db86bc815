// What the processor offers the vectorised paths.
#pragma once

namespace suite {

// True when the processor runs AVX2; asked once.
inline bool HasAvx2() {
#if defined(__x86_64__)
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
#else
  return false;
#endif
}

}  // namespace suite
