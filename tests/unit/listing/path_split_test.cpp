#include "listing/path_split.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

struct SplitCase {
  const char* name;
  std::string text;
  std::vector<std::string> segments;
};

// 0x95 0x5C is one GBK character whose second byte is a backslash.
const std::vector<SplitCase>& SplitCases() {
  static const std::vector<SplitCase> cases = {
      {"file under a drive", "D:\\a\\b.txt", {"D:", "a", "b.txt"}},
      {"drive and one name", "C:\\x", {"C:", "x"}},
      {"network path keeps its leading empty segments", "\\\\srv\\share\\x", {"", "", "srv", "share", "x"}},
      {"no backslash", "name.txt", {"name.txt"}},
      {"empty text", "", {}},
      {"trailing backslash gives no empty last segment", "D:\\a\\", {"D:", "a"}},
      {"lone backslash", "\\", {""}},
      {"doubled backslash inside", "D:\\\\a", {"D:", "", "a"}},
      {"trail byte 0x5C does not split", "D:\\\x95\x5C\\x", {"D:", "\x95\x5C", "x"}},
      {"trail byte 0x5C at the end", "D:\\a\x95\x5C", {"D:", "a\x95\x5C"}},
      {"Chinese names", "D:\\文件夹\\说明.txt", {"D:", "文件夹", "说明.txt"}},
      {"lead byte at the end stays in the last segment", "D:\\a\x95", {"D:", "a\x95"}},
      {"lead byte alone after a backslash", "D:\\\x95", {"D:", "\x95"}},
      {"lead byte takes a following backslash along", "a\x81\\b", {"a\x81\\b"}},
  };
  return cases;
}

TEST(PathSplit, Table) {
  std::vector<std::string_view> segments;
  for (const SplitCase& c : SplitCases()) {
    SCOPED_TRACE(c.name);
    SplitPath(c.text, segments);
    EXPECT_EQ(std::vector<std::string>(segments.begin(), segments.end()), c.segments);
    const PathTail tail = LastPathSegment(c.text);
    EXPECT_EQ(tail.count, c.segments.size());
    EXPECT_EQ(std::string(tail.last), c.segments.empty() ? std::string() : c.segments.back());
  }
}

}  // namespace
}  // namespace korvane
