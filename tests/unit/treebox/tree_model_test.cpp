#include "treebox/tree_model.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "unit/treebox/load_rule_cases.hpp"

namespace korvane {
namespace {

using treebox_cases::BuildContent;

TEST(TreeModel, ReadsOutsideTheItemsGiveNothing) {
  TreeModel loaded;
  loaded.WriteContent(BuildContent({{"A", 1}, {"B", 2}}));
  TreeModel empty;
  for (const TreeModel* model : {&loaded, &empty}) {
    for (const int index : {-1, model->ItemCount(), model->ItemCount() + 1, INT_MIN, INT_MAX}) {
      EXPECT_EQ(model->IndentLevel(index), 0) << index;
      EXPECT_EQ(model->ParentIndex(index), -1) << index;
      EXPECT_EQ(model->ItemText(index), "") << index;
    }
  }
  EXPECT_EQ(empty.CurrentItem(), -1);
}

TEST(TreeModel, LongAndDoubleByteTextsComeBackWhole) {
  std::string longText;
  for (int i = 0; i < 300; ++i) longText.push_back(static_cast<char>('a' + i % 26));
  const std::string gbk = "\xB9\x5C\xD5\xD2\\\x81\x5C";  // trail bytes 0x5C, and a real backslash
  TreeModel model;
  model.WriteContent(BuildContent({{longText, 1}, {gbk, 2}, {"short", 2}}));
  EXPECT_EQ(model.ItemText(0), longText);
  EXPECT_EQ(model.ItemText(0).size(), 300u);
  EXPECT_EQ(model.ItemText(1), gbk);
  EXPECT_EQ(model.ItemText(2), "short");
}

TEST(TreeModel, WriteReplacesEverythingAndClearEmpties) {
  TreeModel model;
  model.WriteContent(BuildContent({{"A", 1}, {"B", 2}, {"C", 2}}));
  model.SetCurrentItem(2);
  model.WriteContent(BuildContent({{"X", 5}}));
  EXPECT_EQ(model.ItemCount(), 1);
  EXPECT_EQ(model.ItemText(0), "X");
  EXPECT_EQ(model.IndentLevel(0), 1);
  EXPECT_EQ(model.CurrentItem(), 0);

  model.Clear();
  EXPECT_EQ(model.ItemCount(), 0);
  EXPECT_EQ(model.CurrentItem(), -1);
  EXPECT_EQ(model.ItemText(0), "");

  model.WriteContent({});
  EXPECT_EQ(model.ItemCount(), 0);
  EXPECT_EQ(model.CurrentItem(), -1);
}

}  // namespace
}  // namespace korvane
