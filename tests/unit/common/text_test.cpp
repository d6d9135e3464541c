#include "common/text.hpp"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(CompareText, BytesAreUnsignedAndLengthBreaksTies) {
  struct Case {
    std::string a, b;
    int expected;
  } cases[] = {
      {"", "", 0},        {"", "\\", -1},      {".", ".", 0},    {"..", ".", 1},
      {"a", "B", 1},      {"\x80", "\x7f", 1}, {"\xff", "a", 1}, {std::string("a\0b", 3), "a", 1},
      {"abc", "abd", -1}, {"Abc", "abc", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(CompareText(c.a, c.b), c.expected) << c.a << " vs " << c.b;
}

TEST(TrailingBackslash, LooksAtTheLastByteOnly) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"", "\\"},
      {"C:\\", "C:\\"},
      {"D:\\Docs", "D:\\Docs\\"},
      {"\\\\srv\\share", "\\\\srv\\share\\"},
      {"D:\\Docs\\\\", "D:\\Docs\\\\"},
      // 0x955C is one GBK character whose second byte is a backslash: it counts as one.
      {"D:\\\x95\x5c", "D:\\\x95\x5c"},
      {"D:\\\xd6\xd0", "D:\\\xd6\xd0\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithTrailingBackslash(c.in), c.out);
    EXPECT_EQ(EndsWithBackslashByte(c.in), c.in == c.out);
  }
}

}  // namespace
}  // namespace korvane
