#include "export/export_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "treebox/tree_content.hpp"
#include "treebox/tree_model.hpp"

namespace korvane {
namespace {

struct Record {
  std::string text;
  std::int32_t level;
  std::int32_t flags = 0;
};

ByteBuffer ContentOf(const std::vector<Record>& records) {
  ByteBuffer content;
  for (const Record& r : records) {
    TreeItemRecord record;
    record.ItemText = r.text;
    record.IndentLevel = r.level;
    record.Flags = r.flags;
    AppendRecord(content, record);
  }
  return content;
}

TreeModel ModelOf(const std::vector<Record>& records) {
  TreeModel model;
  model.WriteContent(ContentOf(records));
  return model;
}

const std::string k300Bytes(300, 'n');

// One item per level down to level 40: deeper than one run of indents.
std::vector<Record> DeepBranch() {
  std::vector<Record> records;
  for (int level = 1; level <= 40; ++level) records.push_back({"d" + std::to_string(level), level});
  return records;
}
std::string DeepBranchText() {
  std::string text;
  for (int level = 1; level <= 40; ++level) {
    if (level > 1) text += "\r\n";
    for (int i = 0; i < level; ++i) text += "----";
    text += "d" + std::to_string(level);
  }
  return text;
}

TEST(BuildExportText, LinesFromTheTreeInItemIndexOrder) {
  struct Case {
    const char* name;
    std::vector<Record> records;
    std::string expected;
  } cases[] = {
      {"empty tree gives no bytes", {}, ""},
      {"one item, no line break after it", {{"a", 1}}, "----a"},
      {"two top-level items and a child: 27 bytes",
       {{"b", 1}, {"x.txt", 2}, {"c", 1}},
       "----b\r\n--------x.txt\r\n----c"},
      {"nesting goes down and back up",
       {{"A", 1}, {"B", 2}, {"C", 3}, {"D", 2}, {"E", 1}},
       "----A\r\n--------B\r\n------------C\r\n--------D\r\n----E"},
      // The depth in the tree counts, not the record's level.
      {"record levels 4, 9, 6 give depths 1, 2, 2", {{"A", 4}, {"B", 9}, {"C", 6}}, "----A\r\n--------B\r\n--------C"},
      {"collapsed and expanded branches alike",
       {{"shut", 1}, {"in", 2}, {"open", 1, kFlagExpanded}, {"in", 2}, {"deep", 3, kFlagBold}},
       "----shut\r\n--------in\r\n----open\r\n--------in\r\n------------deep"},
      {"empty texts give dashes alone", {{"", 1}, {"", 2}, {"", 1}}, "----\r\n--------\r\n----"},
      // 0x955C and 0xD6D0 0xCEC4 are GBK characters; the first ends in the byte 0x5C.
      {"GBK texts byte for byte",
       {{"\x95\x5c", 1}, {"\xd6\xd0\xce\xc4\\", 2}, {"\\\\srv\\%s\t ", 2}},
       "----\x95\x5c\r\n--------\xd6\xd0\xce\xc4\\\r\n--------\\\\srv\\%s\t "},
      {"a long text comes whole", {{k300Bytes, 1}}, "----" + k300Bytes},
      {"forty levels deep", DeepBranch(), DeepBranchText()},
  };
  for (const Case& c : cases) {
    const TreeModel model = ModelOf(c.records);
    EXPECT_EQ(BuildExportText(model), c.expected) << c.name;
  }
}

TEST(BuildExportText, ExampleIsExactly27Bytes) {
  const TreeModel model = ModelOf({{"b", 1}, {"x.txt", 2}, {"c", 1}});
  const Text text = BuildExportText(model);
  const unsigned char expected[27] = {'-', '-', '-', '-', 'b', 0x0D, 0x0A, '-',  '-', '-', '-', '-', '-', '-',
                                      '-', 'x', '.', 't', 'x', 't',  0x0D, 0x0A, '-', '-', '-', '-', 'c'};
  ASSERT_EQ(text.size(), sizeof expected);
  EXPECT_EQ(text, std::string(reinterpret_cast<const char*>(expected), sizeof expected));
}

TEST(BuildExportText, SelectionPlaysNoPart) {
  TreeModel model = ModelOf({{"a", 1}, {"b", 2}, {"c", 1}});
  const Text before = BuildExportText(model);
  model.SetCurrentItem(2);
  EXPECT_EQ(BuildExportText(model), before);
  model.SetCurrentItem(-1);
  EXPECT_EQ(BuildExportText(model), before);
}

// A tree box that counts how often its item count is asked for.
class CountingTree final : public TreeBox {
 public:
  explicit CountingTree(const TreeModel& model) : model_(model) {}
  void WriteContent(const ByteBuffer&) override {}
  void Clear() override {}
  int ItemCount() const override {
    ++countReads;
    return model_.ItemCount();
  }
  int IndentLevel(int index) const override { return model_.IndentLevel(index); }
  Text ItemText(int index) const override { return model_.ItemText(index); }
  int ParentIndex(int index) const override { return model_.ParentIndex(index); }
  int CurrentItem() const override { return model_.CurrentItem(); }

  mutable int countReads = 0;

 private:
  const TreeModel& model_;
};

TEST(BuildExportText, ReadsTheItemCountOnce) {
  const TreeModel model = ModelOf({{"a", 1}, {"b", 2}, {"c", 3}, {"d", 1}});
  CountingTree tree(model);
  EXPECT_EQ(BuildExportText(tree), "----a\r\n--------b\r\n------------c\r\n----d");
  EXPECT_EQ(tree.countReads, 1);
}

}  // namespace
}  // namespace korvane
