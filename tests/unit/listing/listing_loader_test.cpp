#include "listing/listing_loader.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "scan_checks.hpp"
#include "temp_tree.hpp"
#include "treebox/tree_content.hpp"
#include "treebox/tree_model.hpp"

namespace korvane {
namespace {

using testing::CurrentDirectory;
using testing::TempTree;

TEST(AppendTreeRecord, WritesTheRecordFieldsInRecordOrder) {
  ByteBuffer content = {0xEE};  // what was there stays in front
  AppendTreeRecord(content, "ab", /*itemData*/ 3, /*indentLevel*/ 4, /*image*/ 1, /*selectedImage*/ 2, /*flags*/ -2);
  AppendTreeRecord(content, "", 0x01020304, -1, 0, 0, 0);
  const ByteBuffer expected = {0xEE,                                //
                               'a',  'b',  0,                       // text and its zero
                               1,    0,    0,    0,                 // image
                               2,    0,    0,    0,                 // selectedImage
                               3,    0,    0,    0,                 // itemData
                               0xFE, 0xFF, 0xFF, 0xFF,              // flags
                               4,    0,    0,    0,                 // indentLevel
                               0,                                   // empty text
                               0,    0,    0,    0,    0, 0, 0, 0,  // image, selectedImage
                               4,    3,    2,    1,                 // itemData
                               0,    0,    0,    0,                 // flags
                               0xFF, 0xFF, 0xFF, 0xFF};             // indentLevel
  EXPECT_EQ(content, expected);
}

struct Record {
  std::string text;
  int level;
  bool operator==(const Record& o) const { return text == o.text && level == o.level; }
};
std::ostream& operator<<(std::ostream& out, const Record& r) { return out << r.text << "@" << r.level; }

std::vector<Record> Records(const ByteBuffer& content) {
  std::vector<Record> records;
  TreeContentReader reader(content);
  TreeItemRecord record;
  while (reader.Next(record)) {
    EXPECT_EQ(record.Image, 0);
    EXPECT_EQ(record.SelectedImage, 0);
    EXPECT_EQ(record.ItemData, 0);
    EXPECT_EQ(record.Flags, 0);
    records.push_back({std::string(record.ItemText), record.IndentLevel});
  }
  EXPECT_FALSE(reader.Damaged());
  return records;
}

TEST(ListingContent, OneRecordPerEntryByItsLastSegment) {
  PathList paths;
  for (const char* entry :
       {"D:\\a\\b", "D:\\a\\b\\x.txt", "C:\\x", "\\\\srv\\share\\x", "D:\\a\\\x95\x5C", "D:\\a\\名字"}) {
    paths.Append(entry);
  }
  const std::vector<Record> expected = {{"b", 3}, {"x.txt", 4}, {"x", 2}, {"x", 5}, {"\x95\x5C", 3}, {"名字", 3}};
  EXPECT_EQ(Records(BuildListingContent(paths, paths.Count())), expected);
  EXPECT_TRUE(BuildListingContent(PathList(), 0).empty());
  // Only the first count entries are taken.
  EXPECT_EQ(Records(BuildListingContent(paths, 2)), (std::vector<Record>{{"b", 3}, {"x.txt", 4}}));
}

// The tree as lines: two spaces per level below the top, then the text.
std::vector<std::string> Lines(const TreeBox& tree) {
  std::vector<std::string> lines;
  for (int i = 0; i < tree.ItemCount(); ++i) {
    lines.push_back(std::string(2 * static_cast<std::size_t>(tree.IndentLevel(i) - 1), ' ') + tree.ItemText(i));
  }
  return lines;
}

// The worked example's entries loaded as they come: b with x.txt beneath it,
// c, 1.txt and 2.txt at the top, and b current.
TEST(ListingContent, WorkedExampleGivesItsTree) {
  PathList paths;
  for (const char* entry : {"D:\\a\\b", "D:\\a\\b\\x.txt", "D:\\a\\c", "D:\\a\\1.txt", "D:\\a\\2.txt"})
    paths.Append(entry);
  const ByteBuffer content = BuildListingContent(paths, paths.Count());
  EXPECT_EQ(Records(content), (std::vector<Record>{{"b", 3}, {"x.txt", 4}, {"c", 3}, {"1.txt", 3}, {"2.txt", 3}}));
  TreeModel tree;
  tree.WriteContent(content);
  EXPECT_EQ(Lines(tree), (std::vector<std::string>{"b", "  x.txt", "c", "1.txt", "2.txt"}));
  EXPECT_EQ(tree.CurrentItem(), 0);
  for (int i = 0; i < tree.ItemCount(); ++i) EXPECT_EQ(tree.Flags(i), 0) << "collapsed: " << i;
}

class FakeEditBox final : public EditBox {
 public:
  explicit FakeEditBox(std::vector<std::string>& log) : log_(log) {}
  Text GetText() const override {
    log_.push_back("read edit");
    return text;
  }
  void SetText(const Text& value) override {
    log_.push_back("write edit");
    text = value;
  }
  Text text;

 private:
  std::vector<std::string>& log_;
};

// The in-memory tree, with its writes and clears logged.
class LoggedTree final : public TreeBox {
 public:
  explicit LoggedTree(std::vector<std::string>& log) : log_(log) {}
  void WriteContent(const ByteBuffer& content) override {
    log_.push_back("write tree");
    model.WriteContent(content);
  }
  void Clear() override {
    log_.push_back("clear tree");
    model.Clear();
  }
  int ItemCount() const override { return model.ItemCount(); }
  int IndentLevel(int index) const override { return model.IndentLevel(index); }
  Text ItemText(int index) const override { return model.ItemText(index); }
  int ParentIndex(int index) const override { return model.ParentIndex(index); }
  int CurrentItem() const override { return model.CurrentItem(); }
  TreeModel model;

 private:
  std::vector<std::string>& log_;
};

// Real folders under drive-like names ("D:", "E:", "C:") in a temporary
// current directory, so the paths of the listings read as on Windows.
class ListingTest : public ::testing::Test {
 protected:
  ListingTest() : here_(tree_.Root()) {
    tree_.File("D:/a/b/x.txt");
    tree_.Folder("D:/a/c");
    tree_.File("D:/a/1.txt");
    tree_.File("D:/a/2.txt");
    tree_.File("E:/p/q/r.txt");
    tree_.Folder("F:/empty");
  }

  void Drop(const Text& path) {
    log_.clear();
    ListDroppedFolder(path, edit_, tree_box_, paths_);
  }

  // The lines of D:\a in the order the file system lists it.
  std::vector<std::string> ExampleLines() const {
    std::vector<Text> entries;
    testing::WalkLikeScan(tree_.Root() / "D:/a", "", entries);
    std::vector<std::string> lines;
    for (const Text& entry : entries) {
      lines.push_back(entry == "b\\x.txt" ? "  x.txt" : entry);
    }
    return lines;
  }

  TempTree tree_;
  CurrentDirectory here_;
  std::vector<std::string> log_;
  FakeEditBox edit_{log_};
  LoggedTree tree_box_{log_};
  PathList paths_;
};

TEST_F(ListingTest, DroppedFolderGivesTheWorkedExample) {
  Drop("D:\\a");
  EXPECT_EQ(log_, (std::vector<std::string>{"write edit", "clear tree", "read edit", "write tree"}));
  EXPECT_EQ(edit_.text, "D:\\a");
  const std::vector<std::string> lines = ExampleLines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(Lines(tree_box_), lines);
  EXPECT_EQ(tree_box_.CurrentItem(), 0);
  EXPECT_EQ(tree_box_.ParentIndex(0), -1);
  // The entries themselves, whatever order the file system chose.
  const std::vector<Text> list = testing::Entries(paths_);
  EXPECT_EQ(std::set<Text>(list.begin(), list.end()),
            (std::set<Text>{"D:\\a\\b", "D:\\a\\b\\x.txt", "D:\\a\\c", "D:\\a\\1.txt", "D:\\a\\2.txt"}));
}

TEST_F(ListingTest, QueryListsTheEditTextAgainAndShowsItTwice) {
  Drop("D:\\a");
  log_.clear();
  RunListing(edit_, tree_box_, paths_);
  EXPECT_EQ(log_, (std::vector<std::string>{"clear tree", "read edit", "write tree"}));
  std::vector<std::string> twice = ExampleLines();
  const std::vector<std::string> once = twice;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(Lines(tree_box_), twice);
  EXPECT_EQ(paths_.Count(), 10u);
}

TEST_F(ListingTest, DeeperFolderContinuesUnderTheLastItem) {
  Drop("D:\\a");
  Drop("E:\\p\\q");
  std::vector<std::string> expected = ExampleLines();
  expected.push_back("  r.txt");  // a child of the last top-level item
  EXPECT_EQ(Lines(tree_box_), expected);
  EXPECT_EQ(tree_box_.ParentIndex(5), 4);
  EXPECT_EQ(edit_.text, "E:\\p\\q");
}

TEST_F(ListingTest, ShallowerFolderAfterwardsShowsNothingOfItself) {
  Drop("E:\\p\\q");
  Drop("D:\\a");
  EXPECT_EQ(Lines(tree_box_), std::vector<std::string>{"r.txt"});
  Drop("E:\\p\\q");
  EXPECT_EQ(Lines(tree_box_), std::vector<std::string>{"r.txt"});
  EXPECT_EQ(paths_.Count(), 7u);  // everything was appended all the same
}

TEST_F(ListingTest, FileOrMissingOrEmptyFolderAddsNothing) {
  for (const char* path : {"D:\\a\\1.txt", "D:\\missing", "F:\\empty", ""}) {
    SCOPED_TRACE(path);
    Drop(path);
    EXPECT_EQ(tree_box_.ItemCount(), 0);
    EXPECT_EQ(tree_box_.CurrentItem(), -1);
    EXPECT_EQ(log_.back(), "write tree");
  }
  Drop("D:\\a");
  for (const char* path : {"D:\\a\\2.txt", "D:\\nothing"}) {
    SCOPED_TRACE(path);
    Drop(path);
    EXPECT_EQ(Lines(tree_box_), ExampleLines());
    EXPECT_EQ(edit_.text, path);
  }
}

TEST_F(ListingTest, DriveRootEntriesHaveIndentLevelTwo) {
  tree_.File("C:/x.txt");
  tree_.File("C:/y/z.txt");
  Drop("C:\\");
  std::vector<Record> records = Records(BuildListingContent(paths_, paths_.Count()));
  std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) { return a.text < b.text; });
  EXPECT_EQ(records, (std::vector<Record>{{"x.txt", 2}, {"y", 2}, {"z.txt", 3}}));
  EXPECT_EQ(edit_.text, "C:\\");
  EXPECT_EQ(testing::Entries(paths_), (std::vector<Text>{"C:\\y", "C:\\y\\z.txt", "C:\\x.txt"}));
}

TEST_F(ListingTest, SeveralFoldersInARowListInTurn) {
  Drop("D:\\a\\b");
  Drop("D:\\a\\c");
  Drop("E:\\p");
  // x.txt (level 4) fixes the top; c is empty; q (level 3) lies above it.
  EXPECT_EQ(Lines(tree_box_), std::vector<std::string>{"x.txt"});
  EXPECT_EQ(edit_.text, "E:\\p");
  EXPECT_EQ(testing::Entries(paths_), (std::vector<Text>{"D:\\a\\b\\x.txt", "E:\\p\\q", "E:\\p\\q\\r.txt"}));
}

}  // namespace
}  // namespace korvane
