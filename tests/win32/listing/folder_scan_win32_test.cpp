// The folder walk through FindFirstFileA under Wine, over real folders
// reached through Z:\, with GBK names.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "fixture_win32.hpp"
#include "listing/folder_scan.hpp"
#include "listing/folder_search.hpp"

namespace korvane {
namespace {

using testing::Entries;
using testing::FixtureFolder;
using testing::SpareDrive;
using testing::WinTree;

// 昞 is 0x95 0x5C in GBK: its second byte is a backslash.
const Text kTrailBackslash = "\x95\x5C";

std::set<Text> Relative(const std::vector<Text>& entries, const Text& prefix) {
  std::set<Text> relative;
  for (const Text& entry : entries) {
    EXPECT_EQ(entry.compare(0, prefix.size(), prefix), 0) << entry;
    relative.insert(entry.substr(prefix.size()));
  }
  return relative;
}

TEST(FolderScanWin32, ChineseTreeMatchesAWideWalk) {
  ASSERT_EQ(GetACP(), 936u);
  WinTree tree("中文树");
  tree.File("资料\\二级\\说明.txt");
  tree.File("资料\\表格.xls");
  tree.Folder("空文件夹");
  tree.File("隐藏.txt", FILE_ATTRIBUTE_HIDDEN);
  tree.File("系统.sys", FILE_ATTRIBUTE_SYSTEM);
  tree.File("只读.txt", FILE_ATTRIBUTE_READONLY);
  tree.Folder("隐藏夹");
  ASSERT_TRUE(SetFileAttributesA((tree.Root() + "\\隐藏夹").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
  tree.File("readme");

  Text start = tree.Root();
  PathList paths;
  ScanFolder(start, paths);

  EXPECT_EQ(start, tree.Root() + "\\");
  std::vector<Text> expected;
  testing::WalkWide(testing::Wide(tree.Root()), start, expected);
  EXPECT_EQ(Entries(paths), expected);
  EXPECT_EQ(Relative(Entries(paths), start),
            (std::set<Text>{"资料", "资料\\二级", "资料\\二级\\说明.txt", "资料\\表格.xls", "空文件夹", "隐藏夹",
                            "隐藏.txt", "系统.sys", "只读.txt", "readme"}));
}

TEST(FolderScanWin32, StartPathForms) {
  WinTree tree("forms");
  tree.File("d\\x.txt");
  tree.File("y.txt");
  const Text root = tree.Root();
  const std::vector<Text> all = {root + "\\d", root + "\\d\\x.txt", root + "\\y.txt"};
  struct Row {
    const char* name;
    Text start;
    Text startAfter;
    std::vector<Text> expected;
  };
  const std::vector<Row> rows = {
      {"without trailing backslash", root, root + "\\", all},
      {"with trailing backslash", root + "\\", root + "\\", all},
      {"a file", root + "\\y.txt", root + "\\y.txt\\", {}},
      {"a missing folder", root + "\\missing", root + "\\missing\\", {}},
      {"empty: the pattern \\\\* names no folder", "", "\\", {}},
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

// A start folder whose last character has 0x5C as its second byte counts as
// ending in a backslash: its entries follow that character directly, and the
// sub-folder paths so formed name nothing.
TEST(FolderScanWin32, TrailByteBackslashAtTheEndOfTheStart) {
  WinTree tree("trail-start");
  const Text folder = tree.Root() + "\\" + kTrailBackslash;
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
  ASSERT_TRUE(CreateDirectoryA((folder + "\\sub").c_str(), nullptr));
  tree.File(kTrailBackslash + "\\sub\\inner.txt");
  tree.File(kTrailBackslash + "\\f.txt");

  Text start = folder;
  PathList paths;
  ScanFolder(start, paths);
  EXPECT_EQ(start, folder);  // no separator added
  EXPECT_EQ(Entries(paths), (std::vector<Text>{folder + "sub", folder + "f.txt"}));
}

// The same inside a walk: the folder is listed, its own entries run on
// without a separator, and nothing beneath its sub-folders is found.
TEST(FolderScanWin32, TrailByteBackslashInsideTheWalk) {
  WinTree tree("trail-inside");
  const Text folder = tree.Root() + "\\" + kTrailBackslash;
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
  ASSERT_TRUE(CreateDirectoryA((folder + "\\sub").c_str(), nullptr));
  tree.File(kTrailBackslash + "\\sub\\inner.txt");
  tree.File(kTrailBackslash + "\\f.txt");
  tree.File("top.txt");

  Text start = tree.Root();
  PathList paths;
  ScanFolder(start, paths);
  EXPECT_EQ(Entries(paths), (std::vector<Text>{folder, folder + "sub", folder + "f.txt", start + "top.txt"}));
}

TEST(FolderScanWin32, DriveRoot) {
  const Text drive = SpareDrive();
  ASSERT_FALSE(drive.empty()) << "run through with_fixture.sh";
  for (const Text& form : {drive + "\\", drive}) {
    SCOPED_TRACE(form);
    Text start = form;
    PathList paths;
    ScanFolder(start, paths);
    EXPECT_EQ(start, drive + "\\");
    EXPECT_EQ(Entries(paths), (std::vector<Text>{drive + "\\sub", drive + "\\sub\\inner.txt", drive + "\\top.txt"}));
  }
}

// links\a\up and links\a\b\back lead back to ancestors, links\d\self to its
// own folder; links\a\side leads to d, which is no ancestor of it. (Wine does
// not list the link to nothing that the fixture also holds.)
TEST(FolderScanWin32, LinksBackToWalkedFoldersAreListedNotEntered) {
  Text start = FixtureFolder() + "\\links";
  PathList paths;
  ScanFolder(start, paths);
  const std::vector<Text> entries = Entries(paths);
  std::multiset<Text> relative;
  for (const Text& entry : entries) relative.insert(entry.substr(start.size()));
  const std::multiset<Text> expected = {"a",        "a\\up",          "a\\b",          "a\\b\\back", "a\\b\\deep.txt",
                                        "a\\side",  "a\\side\\d.txt", "a\\side\\self", "d",          "d\\self",
                                        "d\\d.txt", "plain.txt",      "file-link"};
  EXPECT_EQ(relative, expected);
  // Sub-folders before files, in every folder.
  const auto at = [&](const Text& r) { return std::find(entries.begin(), entries.end(), start + r) - entries.begin(); };
  EXPECT_LT(at("a\\b\\back"), at("a\\b\\deep.txt"));
  EXPECT_LT(at("d\\self"), at("d\\d.txt"));
  EXPECT_LT(at("d\\d.txt"), at("plain.txt"));
}

// Past MAX_PATH the ANSI search refuses the pattern: the walk keeps what it
// found, the last folder stays listed with nothing beneath it, and the scan
// goes on with the enclosing folders' files.
TEST(FolderScanWin32, SearchesPastMaxPathFindNothing) {
  Text start = FixtureFolder() + "\\deep";
  PathList paths;
  ScanFolder(start, paths);
  ASSERT_GT(paths.Count(), 10u);
  Text expected = start + "d";
  for (std::size_t i = 0; i < paths.Count(); ++i) {
    EXPECT_EQ(paths.At(i), expected);
    expected += "\\d";
  }
  // The last folder listed is the first whose pattern (its path, a backslash
  // added, then "\*") no longer fits in MAX_PATH with its terminating zero.
  const std::size_t lastPattern = paths.At(paths.Count() - 1).size() + 3;
  EXPECT_GE(lastPattern + 1, std::size_t{MAX_PATH}) << paths.At(paths.Count() - 1);
  EXPECT_LT(lastPattern - 2, std::size_t{MAX_PATH}) << paths.At(paths.Count() - 1);
}

TEST(FolderSearchWin32, DotEntriesAreFoldersAndTheEndClosesTheSearch) {
  WinTree tree("search");
  tree.Folder("sub");
  tree.File("file.txt");
  const Text pattern = tree.Root() + "\\\\*";
  FolderSearch search;
  std::set<std::string> folders;
  for (std::string_view name = search.FindEntry(pattern, EntryKind::Folders); !name.empty();
       name = search.FindEntry(Text(), EntryKind::Folders)) {
    EXPECT_TRUE(search.IsOpen());
    folders.insert(std::string(name));
  }
  EXPECT_EQ(folders, (std::set<std::string>{".", "..", "sub"}));
  EXPECT_FALSE(search.IsOpen());
  EXPECT_EQ(search.FindEntry(pattern, EntryKind::Files), "file.txt");
  EXPECT_TRUE(search.FindEntry(Text(), EntryKind::Files).empty());
  EXPECT_TRUE(search.FindEntry(tree.Root() + "\\file.txt\\\\*", EntryKind::Files).empty());
  EXPECT_FALSE(search.IsOpen());
}

}  // namespace
}  // namespace korvane
