#include "listing/folder_search.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "temp_tree.hpp"

namespace korvane {
namespace {

using testing::TempTree;

struct Seen {
  bool folder;
  bool link;
  friend bool operator==(const Seen& a, const Seen& b) { return a.folder == b.folder && a.link == b.link; }
};

std::map<std::string, Seen> Read(const FolderSearch& search) {
  std::map<std::string, Seen> entries;
  for (std::size_t i = 0; i < search.Count(); ++i) {
    const FolderEntry entry = search.Entry(i);
    EXPECT_TRUE(entries.emplace(std::string(entry.name), Seen{entry.folder, entry.link}).second) << entry.name;
  }
  return entries;
}

std::size_t IndexOf(const FolderSearch& search, std::string_view name) {
  for (std::size_t i = 0; i < search.Count(); ++i) {
    if (search.Entry(i).name == name) return i;
  }
  ADD_FAILURE() << "no entry " << name;
  return 0;
}

class FolderSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree_.File("sub/inner.txt");
    tree_.File(".hidden");
    tree_.File("file.txt");
    tree_.Link("to-sub", "sub");
    tree_.Link("to-file", "file.txt");
    tree_.Link("to-nothing", "nowhere");
    start_ = tree_.RootText() + "\\";
  }
  TempTree tree_;
  Text start_;
};

TEST_F(FolderSearchTest, ReadsEveryEntryOnceWithItsKind) {
  FolderSearch search;
  ASSERT_TRUE(search.ReadStart(start_, {}));
  const std::map<std::string, Seen> expected = {
      {".", {true, false}},       {"..", {true, false}},         {"sub", {true, false}},
      {"to-sub", {true, true}},   {".hidden", {false, false}},   {"file.txt", {false, false}},
      {"to-file", {false, true}}, {"to-nothing", {false, true}},
  };
  EXPECT_EQ(Read(search), expected);
}

TEST_F(FolderSearchTest, ChildrenAreReachedThroughTheirParent) {
  FolderSearch root;
  ASSERT_TRUE(root.ReadStart(start_, {}));
  for (const char* name : {"sub", "to-sub"}) {
    SCOPED_TRACE(name);
    FolderSearch child;
    ASSERT_TRUE(child.ReadChild(root, IndexOf(root, name), true));
    EXPECT_EQ(Read(child).count("inner.txt"), 1u);
    EXPECT_EQ(child.Identity(), root.EntryIdentity(IndexOf(root, "sub")));
  }
  // Without a separator after the name in the walk's text, the folder itself
  // is read, but the paths beneath run on from its name: its "." is looked
  // for as "sub.", which names nothing.
  FolderSearch runOn;
  ASSERT_TRUE(runOn.ReadChild(root, IndexOf(root, "sub"), false));
  EXPECT_EQ(Read(runOn).count("inner.txt"), 1u);
  FolderSearch beneath;
  EXPECT_FALSE(beneath.ReadChild(runOn, IndexOf(runOn, "."), true));
}

TEST_F(FolderSearchTest, UnreadableStartsGiveNoEntries) {
  FolderSearch search;
  for (const Text& start : {start_ + "missing\\", start_ + "file.txt\\", Text("\\"), start_ + "to-nothing\\"}) {
    SCOPED_TRACE(start);
    EXPECT_FALSE(search.ReadStart(start, {}));
    EXPECT_EQ(search.Count(), 0u);
  }
}

TEST_F(FolderSearchTest, ReadingAgainReplacesTheEntriesAndCloseForgetsThem) {
  FolderSearch search;
  ASSERT_TRUE(search.ReadStart(start_, {}));
  const std::size_t all = search.Count();
  ASSERT_TRUE(search.ReadStart(start_ + "sub\\", {}));
  EXPECT_EQ(Read(search).size(), 3u);  // ".", ".." and inner.txt
  ASSERT_TRUE(search.ReadStart(start_, {}));
  EXPECT_EQ(search.Count(), all);
  search.Close();
  EXPECT_EQ(search.Count(), 0u);
}

TEST_F(FolderSearchTest, IdentityFollowsLinks) {
  FolderSearch root;
  ASSERT_TRUE(root.ReadStart(start_, {}));
  const auto sub = root.EntryIdentity(IndexOf(root, "sub"));
  const auto viaLink = root.EntryIdentity(IndexOf(root, "to-sub"));
  const auto self = root.Identity();
  ASSERT_TRUE(sub && viaLink && self);
  EXPECT_EQ(*sub, *viaLink);
  EXPECT_FALSE(*sub == *self);
  EXPECT_FALSE(root.EntryIdentity(IndexOf(root, "file.txt")));
  EXPECT_FALSE(root.EntryIdentity(IndexOf(root, "to-nothing")));
  FolderSearch dot;
  ASSERT_TRUE(dot.ReadChild(root, IndexOf(root, "."), true));
  EXPECT_EQ(dot.Identity(), self);
}

}  // namespace
}  // namespace korvane
