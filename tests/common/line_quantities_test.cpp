#include "common/line_quantities.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

using suite::BlockKey;
using suite::ByteOffset;
using suite::LineCount;
using suite::LineNumber;

// A line number is no count, a block key no offset: a mix-up doesn't compile.
static_assert(!std::is_convertible_v<LineNumber, LineCount>);
static_assert(!std::is_convertible_v<BlockKey, ByteOffset>);
static_assert(!std::is_convertible_v<int64_t, BlockKey>);
static_assert(!std::is_constructible_v<LineNumber, LineCount>);

// Block k holds lines k * 10000 + 1 to (k + 1) * 10000: the page of line
// 10000 starts in block 0, that of line 10001 in block 1.
TEST(LineQuantitiesTest, BlocksAndLinesConvertOneWay) {
  EXPECT_EQ(suite::BlockOfLine(LineNumber{1}), BlockKey{0});
  EXPECT_EQ(suite::BlockOfLine(LineNumber{10000}), BlockKey{0});
  EXPECT_EQ(suite::BlockOfLine(LineNumber{10001}), BlockKey{1});
  EXPECT_EQ(suite::FirstLineOfBlock(BlockKey{1}), LineNumber{10001});
  EXPECT_EQ(suite::LinesBeforeBlock(BlockKey{2}), LineCount{20000});
  // The line after 10000 lines is line 10001, in block 1.
  EXPECT_EQ(suite::BlockAfter(LineCount{9999}), BlockKey{0});
  EXPECT_EQ(suite::BlockAfter(LineCount{10000}), BlockKey{1});
  for (const int64_t line : {1, 9999, 10000, 10001, 123456789}) {
    EXPECT_EQ(suite::BlockAfter(LineCount{line - 1}), suite::BlockOfLine(LineNumber{line})) << line;
    EXPECT_LE(suite::FirstLineOfBlock(suite::BlockOfLine(LineNumber{line})), LineNumber{line});
  }
  EXPECT_EQ(suite::LastBlock(LineCount{0}), BlockKey{-1});
  EXPECT_EQ(suite::LastBlock(LineCount{10000}), BlockKey{0});
  EXPECT_EQ(suite::LastBlock(LineCount{10001}), BlockKey{1});
}

}  // namespace
