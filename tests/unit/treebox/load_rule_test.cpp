#include "treebox/load_rule.hpp"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "reference/load_rule_reference.hpp"
#include "treebox/tree_model.hpp"
#include "unit/treebox/load_rule_cases.hpp"

namespace korvane {
namespace {

using treebox_cases::BuildContent;
using treebox_cases::LoadRuleCases;

// The model loaded from each case holds exactly the expected items.
TEST(LoadRule, TableThroughTheModel) {
  for (const treebox_cases::LoadCase& c : LoadRuleCases()) {
    SCOPED_TRACE(c.name);
    TreeModel model;
    model.WriteContent(BuildContent(c.records, c.tail));
    ASSERT_EQ(model.ItemCount(), static_cast<int>(c.items.size()));
    for (int i = 0; i < model.ItemCount(); ++i) {
      const treebox_cases::OutItem& item = c.items[static_cast<std::size_t>(i)];
      EXPECT_EQ(model.ItemText(i), item.text) << "item " << i;
      EXPECT_EQ(model.IndentLevel(i), item.depth) << "item " << i;
      EXPECT_EQ(model.ParentIndex(i), item.parent) << "item " << i;
    }
    EXPECT_EQ(model.CurrentItem(), c.items.empty() ? -1 : 0);
  }
}

// The subtree bounds that the TreeView box fills its branches by agree with
// the parents: j lies in i's subtree exactly when i is an ancestor of j.
TEST(LoadRule, SubtreeBoundsAgreeWithParents) {
  for (const treebox_cases::LoadCase& c : LoadRuleCases()) {
    SCOPED_TRACE(c.name);
    TreeModel model;
    model.WriteContent(BuildContent(c.records, c.tail));
    for (int i = 0; i < model.ItemCount(); ++i) {
      for (int j = 0; j < model.ItemCount(); ++j) {
        bool ancestor = false;
        for (int up = model.ParentIndex(j); up >= 0; up = model.ParentIndex(up)) ancestor = ancestor || up == i;
        EXPECT_EQ(j > i && j < model.SubtreeEnd(i), ancestor) << i << " over " << j;
      }
      EXPECT_EQ(model.HasChildren(i), model.SubtreeEnd(i) > i + 1);
    }
  }
}

TEST(LoadRule, InsertionsPairEachRecordWithItsParent) {
  ByteBuffer content;
  AppendRecord(content, {"A", 1, 2, 3, kFlagExpanded, 1});
  AppendRecord(content, {"B", 4, 5, 6, kFlagBold, 2});
  AppendRecord(content, {"C", 0, 0, 0, 0, 3});
  AppendRecord(content, {"D", 0, 0, 0, 0, 0});  // above the top level: not loaded
  const std::vector<std::int32_t> parents = ComputeParents(content);
  EXPECT_EQ(parents, (std::vector<std::int32_t>{-1, 0, 1}));

  TreeInsertionReader reader(content, parents);
  TreeInsertion insertion;
  std::string texts;
  while (reader.Next(insertion)) texts += insertion.record.ItemText;
  EXPECT_EQ(texts, "ABC");

  TreeModel model;
  model.Load(content, parents);
  EXPECT_TRUE(IsExpanded(model.Flags(0)));
  EXPECT_TRUE(IsBold(model.Flags(1)));
  EXPECT_EQ(model.Flags(2), 0);
  EXPECT_EQ(model.Image(1), 4);
  EXPECT_EQ(model.SelectedImage(1), 5);
  EXPECT_EQ(model.ItemData(0), 3);
  EXPECT_EQ(model.ItemData(2), 0);
}

std::string Levels(const std::vector<std::int32_t>& levels) {
  std::ostringstream out;
  for (const std::int32_t level : levels) out << level << ' ';
  return out.str();
}

// The parents themselves, not the tree built from them (the model files a
// parent at or after the item's own index as a top-level item, which would
// hide such a fault), against the rule read plainly, over many random runs of
// levels: jumps of several levels up and down, repeats, negative levels.
TEST(LoadRule, ParentsMatchThePlainReadingOfTheRule) {
  std::mt19937 random(20261211);
  for (int round = 0; round < 20000; ++round) {
    std::uniform_int_distribution<int> count(0, 24);
    std::uniform_int_distribution<std::int32_t> level(-2, 6);
    std::vector<std::int32_t> levels(static_cast<std::size_t>(count(random)));
    for (std::int32_t& l : levels) l = level(random);
    ByteBuffer content;
    for (const std::int32_t l : levels) AppendRecord(content, {"x", 0, 0, 0, 0, l});
    const std::vector<std::int32_t> parents = ComputeParents(content);
    ASSERT_EQ(parents, reference::LoadParents(levels)) << "levels " << Levels(levels);
  }
}

// A million records each one level deeper: a chain a million deep, loaded
// without recursion.
TEST(LoadRule, MillionDeepChainNeedsNoCallStack) {
  constexpr int kDepth = 1'000'000;
  ByteBuffer content;
  content.reserve(static_cast<std::size_t>(kDepth) * 22);
  for (int i = 0; i < kDepth; ++i) AppendRecord(content, {"x", 0, 0, 0, 0, i});
  TreeModel model;
  model.WriteContent(content);
  ASSERT_EQ(model.ItemCount(), kDepth);
  EXPECT_EQ(model.IndentLevel(kDepth - 1), kDepth);
  EXPECT_EQ(model.ParentIndex(kDepth - 1), kDepth - 2);
  EXPECT_EQ(model.SubtreeEnd(0), kDepth);
  EXPECT_EQ(model.SubtreeEnd(kDepth / 2), kDepth);
}

}  // namespace
}  // namespace korvane
