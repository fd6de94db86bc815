#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/byte_masks.h"
#include "common/cpu_features.h"
#include "common/text_model.h"

namespace suite {
namespace {

std::string RandomBytes(std::mt19937& random, size_t size) {
  const char alphabet[] = {'\n', '\r', '\x1A', 'a', '\0', '\xFF'};
  std::string bytes(size, 'a');
  for (char& byte : bytes) byte = alphabet[random() % 6];
  return bytes;
}

// Every way of taking a 64-byte mask gives the bits of a byte-by-byte look,
// for every byte value (0x80 and up included: no sign may leak into a bit).
TEST(ByteMasksTest, EveryMaskIsTheBytewiseOne) {
  std::mt19937 random(3);
  for (int round = 0; round < 200; ++round) {
    const std::string bytes = RandomBytes(random, 64);
    for (const char byte : {'\n', '\r', '\x1A', '\0', '\xFF'}) {
      uint64_t expected = 0;
      for (size_t i = 0; i < 64; ++i) expected |= uint64_t{bytes[i] == byte} << i;
      EXPECT_EQ(ByteMask64(bytes.data(), byte), expected);
      EXPECT_EQ(ByteMaskPortable(bytes.data(), 64, byte), expected);
      const size_t count = random() % 64;
      EXPECT_EQ(ByteMaskPortable(bytes.data(), count, byte), count == 0 ? 0 : expected & (~uint64_t{0} >> (64 - count)));
#if defined(__x86_64__)
      if (HasAvx2()) {
        EXPECT_EQ(ByteMask64Avx2(bytes.data(), byte), expected);
      }
#endif
    }
  }
  EXPECT_EQ(NthSetBit(0b1011000, 1), 3u);
  EXPECT_EQ(NthSetBit(0b1011000, 3), 6u);
  EXPECT_EQ(NthSetBit(uint64_t{1} << 63, 1), 63u);
}

// The last LF before a point, found 64 bytes at a time where glibc's memrchr
// isn't there, is the one a byte-by-byte look back finds, at every size
// around the 64-byte steps, with and without any LF.
TEST(ByteMasksTest, LastNewlineIsTheBytewiseOne) {
  std::mt19937 random(5);
  for (int round = 0; round < 300; ++round) {
    std::string bytes = RandomBytes(random, random() % 200);
    if (round % 3 == 0) std::replace(bytes.begin(), bytes.end(), '\n', 'a');
    for (size_t size = 0; size <= bytes.size(); ++size) {
      const char* expected = nullptr;
      for (size_t i = size; i > 0 && !expected; --i) {
        if (bytes[i - 1] == '\n') expected = bytes.data() + i - 1;
      }
      ASSERT_EQ(FindLastNewlinePortable(bytes.data(), size), expected) << size;
      ASSERT_EQ(FindLastNewline(bytes.data(), size), expected) << size;
    }
  }
}

}  // namespace
}  // namespace suite
