#include "app/listing_progress_text.hpp"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

TEST(GroupedCount, PutsACommaBetweenGroupsOfThree) {
  const struct {
    std::size_t count;
    const char* expected;
  } cases[] = {{0, "0"}, {999, "999"}, {1000, "1,000"}, {12345, "12,345"}, {1000000, "1,000,000"}};
  for (const auto& c : cases) EXPECT_EQ(GroupedCount(c.count), c.expected) << c.count;
}

// Widths counted in bytes: the text fits when it has at most `bytes` of them.
std::function<bool(const Text&)> AtMost(std::size_t bytes) {
  return [bytes](const Text& text) { return text.size() <= bytes; };
}

TEST(ListingProgressText, ShortensTheFolderInTheMiddleByWholeSegments) {
  const Text lead = "正在列出… 12,345 项  ";
  const Text deep = "D:\\一\\二\\三\\深处";
  // GBK 0x81 0x5C: its second byte is a backslash, and no segment ends there.
  const Text trail =
      "D:\\a\\\x81\x5C"
      "b\\c";
  const struct {
    const char* name;
    Text folder;
    std::size_t room;  // bytes the folder may take
    Text expected;
  } cases[] = {
      {"fits whole", deep, deep.size(), deep},
      {"segments left out from the front", deep, 14, "D:\\…\\三\\深处"},
      {"only the last segment", deep, 10, "D:\\…\\深处"},
      {"the last segment even when too wide", deep, 1, "D:\\…\\深处"},
      {"two segments are never shortened", "D:\\很长的名字", 1, "D:\\很长的名字"},
      {"a trail byte 0x5C is no separator", trail, 8, "D:\\…\\c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ListingProgressText(12345, c.folder, AtMost(lead.size() + c.room)), lead + c.expected);
  }
}

}  // namespace
}  // namespace korvane
