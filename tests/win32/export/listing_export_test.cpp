// The export's work on a real TreeView box: the desktop file (the prefix's
// desktop, moved into a scratch folder) and the outcome it hands back.
#include "export/listing_export_win32.hpp"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/declared_functions_win32.hpp"
#include "treebox/tree_content.hpp"
#include "treebox/tree_view_win32.hpp"
#include "win32/export/desktop_export_win32.hpp"

namespace korvane {
namespace {

using test::FolderEntries;
using test::kExportName;
using test::ReadWholeFile;
using test::WriteWholeFile;

struct Line {
  std::string text;
  std::int32_t recordLevel;
  std::int32_t flags;
  int depth;  // where the load rule puts it: the indent level the tree reports
};

// Collapsed and expanded branches, a record deeper by two levels, GBK texts
// (0x815C ends in the byte 0x5C), an empty text and ASCII oddities.
const std::vector<Line> kTree = {
    {"项目", 1, kFlagExpanded, 1},
    {"源码", 2, 0, 2},
    {"\x81\x5c.cpp", 4, 0, 3},
    {"", 4, 0, 3},
    {"文档", 2, kFlagExpanded, 2},
    {"说明 %s\t.txt", 3, 0, 3},
    {"b", 1, 0, 1},
    {"x.txt", 2, 0, 2},
    {"c\\", 1, 0, 1},
};

ByteBuffer ContentOf(const std::vector<Line>& lines) {
  ByteBuffer content;
  for (const Line& line : lines) {
    TreeItemRecord record;
    record.ItemText = line.text;
    record.IndentLevel = line.recordLevel;
    record.Flags = line.flags;
    AppendRecord(content, record);
  }
  return content;
}

// The file the export must write, rendered here from the table.
std::string Rendering(const std::vector<Line>& lines) {
  std::string bytes;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) bytes += "\r\n";
    for (int level = 0; level < lines[i].depth; ++level) bytes += "----";
    bytes += lines[i].text;
  }
  return bytes;
}

// One visible top-level window for every test: destroying a shown window
// costs Wine seconds without a window manager.
HWND SharedParent() {
  static const HWND parent = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KorvaneExportTestParent";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "export", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                           nullptr, wc.hInstance, nullptr);
  }();
  return parent;
}

class ListingExport : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(moved_.Prepare());
    ASSERT_NE(SharedParent(), nullptr);
    tree_ = std::make_unique<TreeViewBox>(SharedParent(), 1, RECT{0, 0, 380, 260},
                                          WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, 0);
  }

  ExportOutcome Export() { return ExportListing(*tree_); }

  // The outcome names the desktop file, and says whether it was written.
  void ExpectOutcome(const ExportOutcome& outcome, bool written) const {
    EXPECT_EQ(outcome.written, written);
    EXPECT_EQ(outcome.fileName, fileName_);
  }

  std::string FileBytes() const { return moved_.FileBytes(); }
  void ExpectOnlyTheExportFile() const { moved_.ExpectOnlyTheExportFile(); }

  test::MovedDesktop moved_;
  const std::wstring& desktop_ = moved_.Folder();
  const std::string& fileName_ = moved_.FileName();
  std::unique_ptr<TreeViewBox> tree_;
};

TEST_F(ListingExport, WritesTheTreeToTheDesktopAndSaysSo) {
  tree_->WriteContent(ContentOf(kTree));
  ASSERT_EQ(tree_->ItemCount(), static_cast<int>(kTree.size()));
  ExpectOutcome(Export(), true);
  EXPECT_EQ(FileBytes(), Rendering(kTree));
  ExpectOnlyTheExportFile();
}

TEST_F(ListingExport, TheLoadRulesExampleGives27Bytes) {
  const std::vector<Line> example = {{"b", 1, 0, 1}, {"x.txt", 2, 0, 2}, {"c", 1, 0, 1}};
  tree_->WriteContent(ContentOf(example));
  ExpectOutcome(Export(), true);
  EXPECT_EQ(FileBytes(), std::string("----b\r\n--------x.txt\r\n----c"));
}

TEST_F(ListingExport, EmptyTreeGivesAnEmptyFile) {
  tree_->Clear();
  ExpectOutcome(Export(), true);
  EXPECT_EQ(FileBytes(), "");
  ExpectOnlyTheExportFile();
}

TEST_F(ListingExport, LongerOldFileIsReplacedWithoutTrace) {
  WriteWholeFile(fileName_, std::string(70000, 'o'));
  tree_->WriteContent(ContentOf(kTree));
  ExpectOutcome(Export(), true);
  EXPECT_EQ(FileBytes(), Rendering(kTree));
  const DWORD attributes = GetFileAttributesA(fileName_.c_str());
  EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY), 0u);
  ExpectOnlyTheExportFile();
}

// A file that cannot be written is reported, and the old file stays whole.
TEST_F(ListingExport, FailureIsReportedAndTheOldFileStays) {
  const std::string old = "old export\r\n----kept whole";
  struct Case {
    const char* name;
    // Makes the target unwritable; the handle returned (if any) is held during the export.
    HANDLE (*block)(const std::string& fileName);
    void (*unblock)(const std::string& fileName, HANDLE held);
  } cases[] = {
      {"read-only file",
       [](const std::string& f) -> HANDLE {
         SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_READONLY);
         return INVALID_HANDLE_VALUE;
       },
       [](const std::string& f, HANDLE) { SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL); }},
      {"file held open without sharing",
       [](const std::string& f) {
         return CreateFileA(f.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
       },
       [](const std::string&, HANDLE held) { CloseHandle(held); }},
  };
  tree_->WriteContent(ContentOf(kTree));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteWholeFile(fileName_, old);
    const HANDLE held = c.block(fileName_);
    const ExportOutcome outcome = Export();
    c.unblock(fileName_, held);
    ExpectOutcome(outcome, false);
    EXPECT_EQ(FileBytes(), old);
    ExpectOnlyTheExportFile();
  }
}

TEST_F(ListingExport, FolderInTheFilesPlaceIsReportedAndKept) {
  const std::wstring folder = desktop_ + L"\\" + kExportName;
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  WriteWholeFile(fileName_ + "\\inside.txt", "inside");
  tree_->WriteContent(ContentOf(kTree));
  ExpectOutcome(Export(), false);
  EXPECT_NE(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(FolderEntries(folder), std::vector<std::wstring>{L"inside.txt"});
  ExpectOnlyTheExportFile();
}

// Without a desktop folder the name is "\目录生成.txt": the root of the
// current drive, here the prefix's C:.
TEST_F(ListingExport, NoDesktopFolderWritesToTheCurrentDrivesRoot) {
  struct NoShellFolder {
    static BOOL WINAPI Get(HWND, LPWSTR, int, BOOL) { return FALSE; }
  };
  const std::wstring rootFile = L"C:\\" + kExportName;
  ASSERT_EQ(GetFileAttributesW(rootFile.c_str()), INVALID_FILE_ATTRIBUTES) << "left from elsewhere";
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(moved_.Scratch().Path().c_str()));
  ASSERT_EQ(moved_.Scratch().Path().substr(0, 2), L"C:");
  declared::SHGetSpecialFolderPathW.Override(&NoShellFolder::Get);

  tree_->WriteContent(ContentOf(kTree));
  const ExportOutcome outcome = Export();

  declared::SHGetSpecialFolderPathW.Override(nullptr);
  SetCurrentDirectoryW(previous);
  EXPECT_TRUE(outcome.written);
  EXPECT_EQ(outcome.fileName, "\\目录生成.txt");
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile("C:\\目录生成.txt", bytes));
  EXPECT_EQ(bytes, Rendering(kTree));
  DeleteFileW(rootFile.c_str());
}

}  // namespace
}  // namespace korvane
