// The export button of the real main window after a real listing: 按钮1 lists
// a folder made here, 按钮2 exports the tree box, and the desktop file (the
// prefix's desktop, moved into a scratch folder) holds the tree.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/message_loop_win32.hpp"
#include "win32/export/desktop_export_win32.hpp"
#include "win32/export/message_box_capture_win32.hpp"
#include "win32/support/app_session_win32.hpp"
#include "win32/support/window_read_win32.hpp"

namespace korvane {
namespace {

using test::CapturedMessageBox;
using test::ExpectExportBox;

const std::string& kSuccess = test::kExportSuccess;
const std::string& kFailurePrefix = test::kExportFailurePrefix;

// The export file as the control shows the tree: every item, depth first,
// each branch opened on the way, "----" per level, CR LF between lines.
std::string RenderControl(HWND tree, int& count) {
  std::string bytes;
  count = 0;
  for (const testing::ControlLine& line : testing::ExpandAndReadControl(tree)) {
    if (count++ > 0) bytes += "\r\n";
    for (int level = 0; level <= line.depth; ++level) bytes += "----";
    bytes += line.text;
  }
  return bytes;
}

class MainWindowExport : public testing::RunningApplication {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(moved_.Prepare());

    // The folder to list: Chinese names, one with the GBK character 0x815C,
    // an empty folder, files beside folders. One folder and one file
    // at most in each folder, so that the order does not hang on the file
    // system's.
    listed_ = moved_.Scratch().Path() + L"\\资料";
    for (const wchar_t* folder : {L"", L"\\一级", L"\\一级\\二级", L"\\一级\\二级\\空"}) {
      ASSERT_TRUE(CreateDirectoryW((listed_ + folder).c_str(), nullptr)) << GetLastError();
    }
    for (const wchar_t* file : {L"\\一级\\二级\\深\u4E57.txt", L"\\一级\\说明.txt", L"\\readme.txt"}) {
      test::WriteWholeFile(test::Gbk(listed_ + file), "x");
    }

    RunningApplication::SetUp();
  }

  void ListFolder() {
    SetWindowTextA(window_->ControlWindow(Control::编辑框1), test::Gbk(listed_).c_str());
    SendMessageA(window_->ControlWindow(Control::按钮1), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpPendingMessages());
  }

  CapturedMessageBox ClickExport() {
    return test::CaptureOneBox(*window_, [this] {
      SendMessageA(window_->ControlWindow(Control::按钮2), BM_CLICK, 0, 0);
      EXPECT_TRUE(PumpPendingMessages());
    });
  }

  std::string FileBytes() const { return moved_.FileBytes(); }

  test::MovedDesktop moved_;
  const std::wstring& desktop_ = moved_.Folder();
  const std::string& fileName_ = moved_.FileName();
  std::wstring listed_;
};

TEST_F(MainWindowExport, ExportButtonWritesTheListedTree) {
  test::WriteWholeFile(fileName_, std::string(5000, 'o'));  // an earlier, longer export
  ListFolder();
  ASSERT_EQ(window_->Tree().ItemCount(), 6);

  const CapturedMessageBox box = ClickExport();
  ExpectExportBox(box, kSuccess);
  EXPECT_TRUE(IsWindowEnabled(window_->Handle()));

  int count = 0;
  const std::string rendering = RenderControl(window_->ControlWindow(Control::树型框1), count);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(FileBytes(), rendering);
  // The walk's order: sub-folders first, each with what lies beneath it, then files.
  EXPECT_EQ(rendering, std::string("----一级\r\n--------二级\r\n------------空\r\n------------深\x81\x5c.txt\r\n"
                                   "--------说明.txt\r\n----readme.txt"));
  EXPECT_EQ(test::FolderEntries(desktop_), std::vector<std::wstring>{L"目录生成.txt"});
}

TEST_F(MainWindowExport, HeldExportFileIsReportedAndKept) {
  ListFolder();
  ExpectExportBox(ClickExport(), kSuccess);
  const std::string first = FileBytes();
  ASSERT_FALSE(first.empty());

  // A second listing doubles the tree; the file is held open meanwhile.
  ListFolder();
  const HANDLE held = CreateFileA(fileName_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const CapturedMessageBox box = ClickExport();
  CloseHandle(held);
  ExpectExportBox(box, kFailurePrefix + fileName_);
  EXPECT_EQ(FileBytes(), first);
  EXPECT_EQ(test::FolderEntries(desktop_), std::vector<std::wstring>{L"目录生成.txt"});

  // Released, the next click replaces it.
  ExpectExportBox(ClickExport(), kSuccess);
  EXPECT_EQ(FileBytes(), first + "\r\n" + first);
}

}  // namespace
}  // namespace korvane
