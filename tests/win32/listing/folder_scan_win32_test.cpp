// The folder walk under Wine, over real folders reached through Z:\, with
// GBK names, names outside code page 936, long chains and links.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "fixture_win32.hpp"
#include "listing/folder_scan.hpp"
#include "listing/folder_search.hpp"
#include "listing/folder_search_win32.hpp"
#include "listing/path_split.hpp"

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

// Names that code page 936 cannot hold (ö, ő, ñ, Hangul, an emoji beyond the
// Basic Multilingual Plane), on folders that hold files and a sub-folder: every
// entry is listed at its level, under the ANSI name the system's conversion
// gives, and what lies beneath such a folder is listed too.
TEST(FolderScanWin32, NamesOutsideTheCodePageAreListedWithWhatIsBeneath) {
  WinTree tree("外文");
  const std::vector<std::wstring> names = {L"Motörhead", L"Ő ñ", L"한국어", L"\U0001F3B8 guitar"};
  for (const std::wstring& name : names) {
    tree.WideFolder(name);
    tree.WideFolder(name + L"\\" + name + L" 내부");
    tree.WideFile(name + L"\\" + name + L" 내부\\深处 ö.txt");
    tree.WideFile(name + L"\\" + name + L".txt");
    tree.WideFile(name + L"\\readme.txt");
  }
  tree.WideFile(L"Ärger.txt");
  tree.File("普通.txt");

  Text start = tree.Root();
  PathList paths;
  ScanFolder(start, paths);

  std::vector<Text> expected;
  testing::WalkWide(testing::Wide(tree.Root()), start, expected);
  ASSERT_EQ(expected.size(), 5 * names.size() + 2);
  EXPECT_EQ(Entries(paths), expected);
  // The ANSI names are those that the system's ANSI search reports.
  std::set<Text> reported;
  WIN32_FIND_DATAA data;
  const HANDLE search = FindFirstFileA((tree.Root() + "\\*").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  do {
    if (std::string_view(data.cFileName) != "." && std::string_view(data.cFileName) != "..") {
      reported.insert(start + data.cFileName);
    }
  } while (FindNextFileA(search, &data));
  FindClose(search);
  std::set<Text> top;
  const std::size_t level = LastPathSegment(start).count + 1;
  for (const Text& entry : Entries(paths)) {
    if (LastPathSegment(entry).count == level) top.insert(entry);
  }
  EXPECT_EQ(top, reported);
  EXPECT_EQ(top.count(start + "Mot?rhead"), 1u) << "o with diaeresis has no GBK form";
  EXPECT_EQ(top.count(start + "???"), 1u) << "nor has Hangul";
}

// A folder dropped with its UTF-16 path beside its ANSI text is reached
// through the former, though its own name is outside the code page; the
// entries are written under the ANSI text. The ANSI text alone names no
// folder: its "?" is a wildcard.
TEST(FolderScanWin32, StartFolderOutsideTheCodePageIsReachedThroughItsWidePath) {
  WinTree tree("拖来的");
  const std::wstring name = L"Björk 한";
  tree.WideFolder(name);
  tree.WideFolder(name + L"\\Ångström");
  tree.WideFile(name + L"\\Ångström\\å.txt");
  tree.WideFile(name + L"\\b.txt");
  const std::wstring wide = testing::Wide(tree.Root()) + L"\\" + name;
  const Text ansi = testing::Ansi(wide);
  ASSERT_NE(ansi.find('?'), Text::npos);

  for (const std::wstring& form : {wide, wide + L"\\"}) {
    SCOPED_TRACE(testing::Ansi(form));
    Text start = testing::Ansi(form);
    PathList paths;
    ScanFolder(start, paths, form);
    EXPECT_EQ(start, ansi + "\\");
    const std::vector<Text> expected = {start + "?ngstr?m", start + "?ngstr?m\\" + testing::Ansi(L"å.txt"),
                                        start + "b.txt"};
    EXPECT_EQ(Entries(paths), expected);
  }
  Text alone = ansi;
  PathList paths;
  ScanFolder(alone, paths);
  EXPECT_EQ(paths.Count(), 0u);
}

// Past MAX_PATH and past 1,000 characters every level is listed, the files
// at the bottom too, in the order of the two passes.
TEST(FolderScanWin32, ChainsPastMaxPathAreWalkedWhole) {
  {
    Text start = FixtureFolder() + "\\deep";
    PathList paths;
    ScanFolder(start, paths);
    ASSERT_EQ(paths.Count(), 151u);
    Text expected = start + "d";
    for (std::size_t i = 0; i < 150; ++i) {
      EXPECT_EQ(paths.At(i), expected);
      expected += "\\d";
    }
    EXPECT_EQ(paths.At(150), expected.substr(0, expected.size() - 1) + "bottom.txt");
    EXPECT_GT(paths.At(150).size(), std::size_t{MAX_PATH});
  }
  Text start = FixtureFolder() + "\\long";
  PathList paths;
  ScanFolder(start, paths);
  constexpr int kLevels = 45;
  std::vector<Text> folders;  // each level's path
  Text folder = start;
  for (int i = 0; i < kLevels; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "level-%03d-xxxxxxxxxxxxxxxx", i);
    folder += name;
    folders.push_back(folder);
    folder += "\\";
  }
  std::vector<Text> expected = folders;
  expected.push_back(folders.back() + "\\sub");
  expected.push_back(folders.back() + "\\sub\\inner.txt");
  expected.push_back(folders.back() + "\\bottom.txt");
  for (int i = kLevels - 2; i >= 0; --i) expected.push_back(folders[static_cast<std::size_t>(i)] + "\\f.txt");
  EXPECT_EQ(Entries(paths), expected);
  EXPECT_GT(folders.back().size(), 1000u);
}

// Level after level two links lead to the same next folder: it is entered
// through the first of them (Wine lists x before y), the second is listed
// and not entered, so the walk stays linear.
TEST(FolderScanWin32, FolderIsEnteredThroughOneLinkOnly) {
  Text start = FixtureFolder() + "\\twice\\t0";
  PathList paths;
  ScanFolder(start, paths);
  std::vector<Text> expected;
  Text folder = start;
  for (int i = 0; i < 6; ++i) {
    expected.push_back(folder + "x");
    folder += "x\\";
  }
  expected.push_back(folder + "end.txt");
  for (int i = 5; i >= 0; --i) {
    folder.resize(folder.size() - 2);
    expected.push_back(folder + "y");
  }
  EXPECT_EQ(Entries(paths), expected);
}

// Files and sub-folders alternate in each folder's listing: one read of the
// folder gives the order of the two passes, sub-folders (each with what is
// beneath it) first, then files, each in the order listed.
TEST(FolderScanWin32, MixedFoldersKeepTheOrderOfTwoPasses) {
  WinTree tree("mixed");
  for (const char* name : {"a", "c", "e"}) {
    tree.File(Text(name) + "\\1.txt");
    tree.File(Text(name) + "\\2\\3.txt");
    tree.File(Text(name) + "\\4.txt");
  }
  for (const char* name : {"b.txt", "d.txt", "f.txt"}) tree.File(name);
  Text start = tree.Root();
  PathList paths;
  ScanFolder(start, paths);
  std::vector<Text> expected;
  for (const char* name : {"a", "c", "e"}) {
    const Text folder = start + name;
    for (const Text& entry : {folder, folder + "\\2", folder + "\\2\\3.txt", folder + "\\1.txt", folder + "\\4.txt"}) {
      expected.push_back(entry);
    }
  }
  for (const char* name : {"b.txt", "d.txt", "f.txt"}) expected.push_back(start + name);
  EXPECT_EQ(Entries(paths), expected);
  // The same order as a walk that searches each folder twice.
  std::vector<Text> walked;
  testing::WalkWide(testing::Wide(tree.Root()), start, walked);
  EXPECT_EQ(Entries(paths), walked);
}

// Windows XP and Vista refuse FindExInfoBasic and FIND_FIRST_EX_LARGE_FETCH
// with ERROR_INVALID_PARAMETER. This stand-in does the same, or refuses the
// folders whose pattern holds a given text in any form, and counts the calls.
struct SearchCalls {
  bool refuseNewForms = false;
  std::wstring refuseFolder;  // any form for a pattern holding it
  int newForm = 0;
  int plainForm = 0;
};
SearchCalls g_calls;

HANDLE WINAPI FindFirstFileExLikeXp(LPCWSTR pattern, FINDEX_INFO_LEVELS level, LPVOID data, FINDEX_SEARCH_OPS op,
                                    LPVOID filter, DWORD flags) {
  const bool newForm = level != FindExInfoStandard || flags != 0;
  ++(newForm ? g_calls.newForm : g_calls.plainForm);
  if ((newForm && g_calls.refuseNewForms) ||
      (!g_calls.refuseFolder.empty() && std::wstring(pattern).find(g_calls.refuseFolder) != std::wstring::npos)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  return FindFirstFileExW(pattern, level, data, op, filter, flags);
}

class SearchForms : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls = SearchCalls{};
    OverrideFindFirstFileEx(&FindFirstFileExLikeXp);
  }
  void TearDown() override { OverrideFindFirstFileEx(nullptr); }
};

// On a system that knows neither, the first search is started again in the
// plain form, and every later one starts in it: nothing goes missing, and
// the refusal costs one call per process.
TEST_F(SearchForms, OlderSystemsGetThePlainFormAfterOneRefusal) {
  g_calls.refuseNewForms = true;
  WinTree tree("xp");
  tree.File("a\\b\\c.txt");
  tree.File("a\\d.txt");
  tree.Folder("e");
  tree.File("f.txt");
  Text start = tree.Root();
  PathList paths;
  ScanFolder(start, paths);
  std::vector<Text> expected;
  testing::WalkWide(testing::Wide(tree.Root()), start, expected);
  EXPECT_EQ(Entries(paths), expected);
  EXPECT_EQ(g_calls.newForm, 1);
  EXPECT_EQ(g_calls.plainForm, 4);  // the start folder, a, a\b and e

  PathList again;
  start = tree.Root();
  ScanFolder(start, again);
  EXPECT_EQ(Entries(again), expected);
  EXPECT_EQ(g_calls.newForm, 1);
}

// A folder refused in both forms is refused for its own reasons: it is
// listed with nothing beneath, and the other searches keep the new form.
TEST_F(SearchForms, AFolderRefusedInBothFormsTeachesNothing) {
  g_calls.refuseFolder = L"坏";
  WinTree tree("refused");
  tree.File("坏\\inner.txt");
  tree.File("好\\inner.txt");
  tree.File("top.txt");
  Text start = tree.Root();
  PathList paths;
  ScanFolder(start, paths);
  EXPECT_EQ(Relative(Entries(paths), start), (std::set<Text>{"坏", "好", "好\\inner.txt", "top.txt"}));
  EXPECT_EQ(g_calls.newForm, 3);    // the start folder, 坏 and 好
  EXPECT_EQ(g_calls.plainForm, 1);  // 坏 again
}

TEST(FolderSearchWin32, OneReadGivesEveryEntryWithItsKind) {
  WinTree tree("search");
  tree.Folder("sub");
  tree.File("file.txt");
  FolderSearch search;
  ASSERT_TRUE(search.ReadStart(tree.Root() + "\\", {}));
  std::vector<std::pair<std::string, bool>> entries;
  for (std::size_t i = 0; i < search.Count(); ++i) {
    entries.emplace_back(std::string(search.Entry(i).name), search.Entry(i).folder);
    EXPECT_FALSE(search.Entry(i).link);
  }
  EXPECT_EQ(entries,
            (std::vector<std::pair<std::string, bool>>{{".", true}, {"..", true}, {"file.txt", false}, {"sub", true}}));
  for (const Text& start : {tree.Root() + "\\file.txt\\", tree.Root() + "\\missing\\"}) {
    EXPECT_FALSE(search.ReadStart(start, {})) << start;
    EXPECT_EQ(search.Count(), 0u);
  }
}

}  // namespace
}  // namespace korvane
