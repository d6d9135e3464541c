#include "listing/folder_scan.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "scan_checks.hpp"
#include "temp_tree.hpp"

namespace korvane {
namespace {

using testing::Entries;
using testing::ExpectScanOrder;
using testing::IsFolderOnDisk;
using testing::TempTree;
using testing::WalkLikeScan;

struct TreeCase {
  const char* name;
  std::function<void(const TempTree&)> build;
  std::set<std::string> expected;  // relative to the start folder, backslashes
};

std::vector<TreeCase> TreeCases() {
  return {
      {"nested",
       [](const TempTree& t) {
         t.File("sub1/deep/f1.txt");
         t.File("sub1/deep/f2.txt");
         t.File("sub1/g.txt");
         t.Folder("sub2/inner");
         t.File("a.txt");
         t.File("b.txt");
       },
       {"sub1", "sub1\\deep", "sub1\\deep\\f1.txt", "sub1\\deep\\f2.txt", "sub1\\g.txt", "sub2", "sub2\\inner", "a.txt",
        "b.txt"}},
      {"empty folders",
       [](const TempTree& t) {
         t.Folder("e1");
         t.Folder("e2/e3");
       },
       {"e1", "e2", "e2\\e3"}},
      {"files only",
       [](const TempTree& t) {
         for (const char* name : {"1.txt", "2.txt", "3", "z.bin"}) t.File(name);
       },
       {"1.txt", "2.txt", "3", "z.bin"}},
      {"hidden entries",
       [](const TempTree& t) {
         t.File(".hidden");
         t.File(".dir/.inner");
         t.File("shown");
       },
       {".hidden", ".dir", ".dir\\.inner", "shown"}},
      {"double-byte names",
       [](const TempTree& t) {
         t.File("文件夹/文件.txt");
         t.File("说明.txt");
       },
       {"文件夹", "文件夹\\文件.txt", "说明.txt"}},
      {"files and folders mixed in the folder's order",
       [](const TempTree& t) {
         for (const char* name : {"a", "c", "e", "g", "i"}) t.File(std::string(name) + "/in.txt");
         for (const char* name : {"b", "d", "f", "h", "j"}) t.File(name);
       },
       {"a", "a\\in.txt", "c", "c\\in.txt", "e", "e\\in.txt", "g", "g\\in.txt", "i", "i\\in.txt", "b", "d", "f", "h",
        "j"}},
      {"empty start folder", [](const TempTree&) {}, {}},
  };
}

TEST(FolderScan, TreesMatchAnIndependentWalk) {
  for (const TreeCase& c : TreeCases()) {
    SCOPED_TRACE(c.name);
    TempTree tree;
    c.build(tree);
    Text start = tree.RootText();
    PathList paths;
    ScanFolder(start, paths);

    const Text prefix = tree.RootText() + "\\";
    EXPECT_EQ(start, prefix);
    std::vector<Text> expected;
    WalkLikeScan(tree.Root(), prefix, expected);
    EXPECT_EQ(Entries(paths), expected);

    std::set<std::string> relative;
    for (const Text& entry : Entries(paths)) relative.insert(entry.substr(prefix.size()));
    EXPECT_EQ(relative, c.expected);
    ExpectScanOrder(Entries(paths), prefix, IsFolderOnDisk);
  }
}

TEST(FolderScan, StartPathForms) {
  TempTree tree;
  tree.File("d/x.txt");
  tree.File("y.txt");
  const Text root = tree.RootText();
  struct Row {
    const char* name;
    Text start;
    Text startAfter;
    std::vector<Text> expected;
  };
  const std::vector<Row> rows = {
      {"without trailing backslash", root, root + "\\", {root + "\\d", root + "\\d\\x.txt", root + "\\y.txt"}},
      {"with trailing backslash", root + "\\", root + "\\", {root + "\\d", root + "\\d\\x.txt", root + "\\y.txt"}},
      {"a file", root + "\\y.txt", root + "\\y.txt\\", {}},
      {"a missing folder", root + "\\missing", root + "\\missing\\", {}},
      // "\" followed by "\*" is the form of a network path, which names no folder here.
      {"empty", "", "\\", {}},
      {"a lone backslash", "\\", "\\", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Text start = row.start;
    PathList paths;
    ScanFolder(start, paths);
    EXPECT_EQ(start, row.startAfter);
    EXPECT_EQ(Entries(paths), row.expected);
  }
}

TEST(FolderScan, AppendsAfterEarlierEntries) {
  TempTree tree;
  tree.File("only.txt");
  PathList paths;
  paths.Append("earlier");
  Text first = tree.RootText();
  ScanFolder(first, paths);
  Text second = tree.RootText() + "\\";
  ScanFolder(second, paths);
  const Text file = tree.RootText() + "\\only.txt";
  EXPECT_EQ(Entries(paths), (std::vector<Text>{"earlier", file, file}));
}

// Two links lead back to ancestors, one to the folder itself, one to a folder
// elsewhere in the tree. The looping links are listed but not entered; the
// other link is entered like a folder.
TEST(FolderScan, LinksBackToWalkedFoldersAreListedNotEntered) {
  TempTree tree;
  tree.File("a/b/deep.txt");
  tree.File("d/d.txt");
  tree.File("plain.txt");
  tree.Link("a/up", tree.Root());          // to the start folder
  tree.Link("a/b/back", "..");             // to a
  tree.Link("d/self", ".");                // to d itself
  tree.Link("a/side", tree.Root() / "d");  // to d, not an ancestor of a
  tree.Link("file-link", "plain.txt");     // a link to a file is a file
  tree.Link("dangling", "nowhere");        // so is a link to nothing

  Text start = tree.RootText();
  PathList paths;
  ScanFolder(start, paths);

  const Text prefix = start;
  std::multiset<std::string> relative;
  for (const Text& entry : Entries(paths)) relative.insert(entry.substr(prefix.size()));
  const std::multiset<std::string> expected = {
      "a", "a\\up",   "a\\b",     "a\\b\\back", "a\\b\\deep.txt", "a\\side", "a\\side\\d.txt", "a\\side\\self",
      "d", "d\\self", "d\\d.txt", "plain.txt",  "file-link",      "dangling"};
  EXPECT_EQ(relative, expected);
  ExpectScanOrder(Entries(paths), prefix, IsFolderOnDisk);
}

// A folder that links lead to is entered through the first of them only:
// level after level two links lead to the same next folder, which would
// otherwise double the walk at every level (2^20 times the last file here).
TEST(FolderScan, FolderIsEnteredThroughOneLinkOnly) {
  TempTree tree;
  constexpr int kLevels = 20;
  for (int i = 0; i < kLevels; ++i) {
    const std::string next = "t" + std::to_string(i + 1);
    tree.Folder("t" + std::to_string(i));
    tree.Link("t" + std::to_string(i) + "/x", tree.Root() / next);
    tree.Link("t" + std::to_string(i) + "/y", tree.Root() / next);
  }
  tree.File("t" + std::to_string(kLevels) + "/end.txt");

  Text start = tree.RootText() + "\\t0";
  PathList paths;
  ScanFolder(start, paths);

  const std::vector<Text> entries = Entries(paths);
  ASSERT_EQ(entries.size(), static_cast<std::size_t>(2 * kLevels + 1));
  // Each level lists both links; the walk goes on beneath one of them.
  Text folder = start;
  for (int level = 0; level < kLevels; ++level) {
    SCOPED_TRACE(level);
    const auto beneath = [&](const Text& link) {
      return std::count_if(entries.begin(), entries.end(),
                           [&](const Text& e) { return e.compare(0, link.size() + 1, link + "\\") == 0; });
    };
    const Text x = folder + "x";
    const Text y = folder + "y";
    ASSERT_EQ(std::count(entries.begin(), entries.end(), x), 1);
    ASSERT_EQ(std::count(entries.begin(), entries.end(), y), 1);
    EXPECT_EQ(beneath(x) == 0, beneath(y) > 0);
    folder = (beneath(x) > 0 ? x : y) + "\\";
  }
  EXPECT_EQ(std::count(entries.begin(), entries.end(), folder + "end.txt"), 1);
  ExpectScanOrder(entries, start, IsFolderOnDisk);
}

// Deeper than the descriptors a process may hold open at once (1024 by
// default) and than a recursion should trust the stack with.
TEST(FolderScan, DeepChainIsWalkedWhole) {
  TempTree tree;
  constexpr int kDepth = 1500;
  std::string folder = tree.Root().string();
  for (int i = 0; i < kDepth; ++i) {
    folder += "/d";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0) << i;
  }
  std::FILE* bottom = std::fopen((folder + "/bottom.txt").c_str(), "wb");
  ASSERT_NE(bottom, nullptr);
  std::fclose(bottom);

  Text start = tree.RootText();
  PathList paths;
  ScanFolder(start, paths);

  ASSERT_EQ(paths.Count(), static_cast<std::size_t>(kDepth + 1));
  Text expected = start + "d";
  for (int i = 0; i < kDepth; ++i) {
    EXPECT_EQ(paths.At(static_cast<std::size_t>(i)), expected);
    expected += "\\d";
  }
  EXPECT_EQ(paths.At(kDepth), expected.substr(0, expected.size() - 1) + "bottom.txt");
}

}  // namespace
}  // namespace korvane
