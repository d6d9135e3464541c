#include "common/path_list.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

TEST(PathList, KeepsOwnCopiesInAppendOrder) {
  PathList list;
  std::vector<std::string> expected = {"D:\\a\\b", "", std::string("D:\\a\\\x95\x5c"), "D:\\a\\2.txt"};
  for (std::string path : expected) {
    list.Append(path);
    path.assign(path.size(), 'x');  // the caller's text is its own
  }
  ASSERT_EQ(list.Count(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(list.At(i), expected[i]);
  EXPECT_EQ(list.At(expected.size()), "");
}

TEST(PathList, StaysValidAcrossGrowth) {
  PathList list;
  for (int i = 0; i < 100000; ++i) list.Append("C:\\folder\\" + std::to_string(i));
  EXPECT_EQ(list.At(0), "C:\\folder\\0");
  EXPECT_EQ(list.At(99999), "C:\\folder\\99999");
  EXPECT_EQ(list.At(54321).data()[list.At(54321).size()], '\0');  // zero-terminated in place
}

// Paths longer than a block, between short ones: each gets room of its own.
// A long path copied into a block too small overruns it (AddressSanitizer
// stops there) and leaves the list holding fewer bytes than its paths.
TEST(PathList, PathsLongerThanABlockComeBackWhole) {
  const std::vector<std::size_t> lengths = {10, 4095, 4096, 5000, 3, 300000, 7, 262144, 70000, 1};
  PathList list;
  std::size_t held = 0;
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    list.Append(std::string(lengths[i], static_cast<char>('a' + i)));
    held += lengths[i] + 1;
  }
  ASSERT_EQ(list.Count(), lengths.size());
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    EXPECT_EQ(list.At(i), std::string(lengths[i], static_cast<char>('a' + i))) << "path " << i;
  }
  EXPECT_GE(list.MemoryBytes(), held);
}

}  // namespace
}  // namespace korvane
