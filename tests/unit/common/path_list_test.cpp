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

}  // namespace
}  // namespace korvane
