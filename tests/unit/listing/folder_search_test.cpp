#include "listing/folder_search.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "temp_tree.hpp"

namespace korvane {
namespace {

using testing::TempTree;

std::set<std::string> Drain(FolderSearch& search, const Text& pattern, EntryKind kind) {
  std::set<std::string> names;
  for (std::string_view name = search.FindEntry(pattern, kind); !name.empty(); name = search.FindEntry(Text(), kind)) {
    EXPECT_TRUE(names.insert(std::string(name)).second) << name;
  }
  return names;
}

class FolderSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree_.Folder("sub");
    tree_.File(".hidden");
    tree_.File("file.txt");
    tree_.Link("to-sub", "sub");
    tree_.Link("to-file", "file.txt");
    pattern_ = tree_.RootText() + "\\\\*";
  }
  TempTree tree_;
  Text pattern_;
};

TEST_F(FolderSearchTest, KindIsDecidedByTheDirectoryAttributeAlone) {
  FolderSearch search;
  EXPECT_EQ(Drain(search, pattern_, EntryKind::Folders), (std::set<std::string>{".", "..", "sub", "to-sub"}));
  EXPECT_FALSE(search.IsOpen());
  EXPECT_EQ(Drain(search, pattern_, EntryKind::Files), (std::set<std::string>{".hidden", "file.txt", "to-file"}));
  EXPECT_FALSE(search.IsOpen());
}

TEST_F(FolderSearchTest, LinksAreReportedAsLinks) {
  FolderSearch search;
  std::set<std::string> links;
  for (std::string_view name = search.FindEntry(pattern_, EntryKind::Folders); !name.empty();
       name = search.FindEntry(Text(), EntryKind::Folders)) {
    if (search.EntryIsLink()) links.insert(std::string(name));
  }
  EXPECT_EQ(links, std::set<std::string>{"to-sub"});
}

TEST_F(FolderSearchTest, ContinuingWithoutASearchFindsNothing) {
  FolderSearch search;
  EXPECT_TRUE(search.FindEntry(Text(), EntryKind::Files).empty());
  EXPECT_TRUE(search.FindEntry(tree_.RootText() + "\\missing\\\\*", EntryKind::Folders).empty());
  EXPECT_FALSE(search.IsOpen());
  EXPECT_TRUE(search.FindEntry(Text(), EntryKind::Folders).empty());
}

TEST_F(FolderSearchTest, NewPatternRestartsAndCloseEnds) {
  FolderSearch search;
  ASSERT_FALSE(search.FindEntry(pattern_, EntryKind::Folders).empty());
  EXPECT_TRUE(search.IsOpen());
  // A second pattern starts over: every file comes, whatever the first search had read.
  EXPECT_EQ(Drain(search, pattern_, EntryKind::Files).size(), 3u);
  ASSERT_FALSE(search.FindEntry(pattern_, EntryKind::Folders).empty());
  search.CloseFind();
  EXPECT_FALSE(search.IsOpen());
  EXPECT_TRUE(search.FindEntry(Text(), EntryKind::Folders).empty());
}

TEST_F(FolderSearchTest, IdentityFollowsLinks) {
  const auto sub = IdentifyFolder(tree_.RootText() + "\\sub");
  const auto viaLink = IdentifyFolder(tree_.RootText() + "\\to-sub\\");
  const auto root = IdentifyFolder(tree_.RootText() + "\\");
  ASSERT_TRUE(sub && viaLink && root);
  EXPECT_EQ(*sub, *viaLink);
  EXPECT_FALSE(*sub == *root);
  EXPECT_FALSE(IdentifyFolder(tree_.RootText() + "\\file.txt"));
  EXPECT_FALSE(IdentifyFolder(tree_.RootText() + "\\missing"));
}

}  // namespace
}  // namespace korvane
