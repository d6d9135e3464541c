#include "drop/message_filter_rule.hpp"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

TEST(NeedsMessageFilter, OnlyNamesBeginningWithWindowsXpGoWithout) {
  struct Case {
    std::string name;
    bool needed;
  };
  const Case cases[] = {
      {"Windows XP", false},
      {"Windows XP Professional x64 Edition", false},
      {"Windows XPS", false},  // the first ten bytes alone decide
      {"Windows X", true},     // shorter than ten bytes
      {"", true},
      {"windows XP", true},
      {" Windows XP", true},
      {"Windows 7", true},
      {"Windows Server 2003, ", true},
      {"获取失败，请检查版本:10.0", true},
  };
  for (const Case& c : cases) EXPECT_EQ(NeedsMessageFilter(c.name), c.needed) << "'" << c.name << "'";
}

}  // namespace
}  // namespace korvane
