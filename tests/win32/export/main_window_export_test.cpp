// The export button of the real main window after a real listing: 按钮1 lists
// a folder made here, 按钮2 exports the tree box, and the desktop file (the
// prefix's desktop, moved into a scratch folder) holds the tree.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/application_win32.hpp"
#include "win32/export/export_test_support_win32.hpp"
#include "win32/export/message_box_capture_win32.hpp"

namespace korvane {
namespace {

using test::CapturedMessageBox;
using test::MessageBoxCapture;

const std::string kSuccess = "导出成功！文件在桌面";
const std::string kFailurePrefix = "导出失败！无法写入文件：";
const std::string kCaption = "信息：";

// False once the quit message was taken.
bool PumpPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return false;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return true;
}

HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::string ControlItemText(HWND tree, HTREEITEM item) {
  char text[1024] = {};
  TVITEMA data = {};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof text;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return text;
}

// The export file as the control shows the tree: every item, depth first,
// each branch opened on the way, "----" per level, CR LF between lines.
void RenderControl(HWND tree, HTREEITEM first, int depth, std::string& bytes, int& count) {
  for (HTREEITEM item = first; item != nullptr; item = NextItem(tree, item, TVGN_NEXT)) {
    if (count++ > 0) bytes += "\r\n";
    for (int level = 0; level < depth; ++level) bytes += "----";
    bytes += ControlItemText(tree, item);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    RenderControl(tree, NextItem(tree, item, TVGN_CHILD), depth + 1, bytes, count);
  }
}

class MainWindowExport : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop_ = scratch_.Path() + L"\\桌面";
    ASSERT_TRUE(CreateDirectoryW(desktop_.c_str(), nullptr)) << GetLastError();
    redirect_ = std::make_unique<test::ShellFolderRedirect>(L"Desktop", desktop_);
    fileName_ = scratch_.AnsiPath() + "\\桌面\\目录生成.txt";

    // The folder to list: Chinese names, one with the GBK character 0x815C,
    // an empty folder, files beside folders. One folder and one file
    // at most in each folder, so that the order does not hang on the file
    // system's.
    listed_ = scratch_.Path() + L"\\资料";
    for (const wchar_t* folder : {L"", L"\\一级", L"\\一级\\二级", L"\\一级\\二级\\空"}) {
      ASSERT_TRUE(CreateDirectoryW((listed_ + folder).c_str(), nullptr)) << GetLastError();
    }
    for (const wchar_t* file : {L"\\一级\\二级\\深\u4E57.txt", L"\\一级\\说明.txt", L"\\readme.txt"}) {
      test::WriteWholeFile(test::Gbk(listed_ + file), "x");
    }

    window_ = StartApplication(GetModuleHandleA(nullptr));
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(PumpPending());
  }

  void TearDown() override {
    if (window_ == nullptr) return;
    if (IsWindow(window_->Handle())) DestroyWindow(window_->Handle());
    bool quit = false;
    for (int i = 0; i < 500 && !quit; ++i) {
      quit = !PumpPending();
      if (!quit) Sleep(10);
    }
    EXPECT_TRUE(quit) << "the loop's quit message never came";
    RunExitProcessing();
  }

  void ListFolder() {
    SetWindowTextA(window_->ControlWindow(Control::编辑框1), test::Gbk(listed_).c_str());
    SendMessageA(window_->ControlWindow(Control::按钮1), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpPending());
  }

  CapturedMessageBox ClickExport() {
    MessageBoxCapture capture(window_->Handle());
    SendMessageA(window_->ControlWindow(Control::按钮2), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpPending());
    EXPECT_EQ(capture.Boxes().size(), 1u);
    return capture.Boxes().empty() ? CapturedMessageBox() : capture.Boxes().front();
  }

  static void ExpectShown(const CapturedMessageBox& box, const std::string& text) {
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, kCaption);
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_TASKMODAL));
    EXPECT_TRUE(box.appeared);
    EXPECT_FALSE(box.closedByTimeout);
    EXPECT_EQ(box.shownText, text);
    EXPECT_EQ(box.shownCaption, kCaption);
    EXPECT_EQ(box.visibleButtons, 1);
    EXPECT_TRUE(box.okButtonVisible);
    EXPECT_TRUE(box.watchedWindowDisabled) << "the main window took input meanwhile";
  }

  std::string FileBytes() const {
    std::string bytes;
    EXPECT_TRUE(test::ReadWholeFile(fileName_, bytes)) << "no " << fileName_;
    return bytes;
  }

  test::ScratchFolder scratch_;
  std::wstring desktop_;
  std::unique_ptr<test::ShellFolderRedirect> redirect_;
  std::string fileName_;
  std::wstring listed_;
  MainWindow* window_ = nullptr;
};

TEST_F(MainWindowExport, ExportButtonWritesTheListedTree) {
  test::WriteWholeFile(fileName_, std::string(5000, 'o'));  // an earlier, longer export
  ListFolder();
  ASSERT_EQ(window_->Tree().ItemCount(), 6);

  const CapturedMessageBox box = ClickExport();
  ExpectShown(box, kSuccess);
  EXPECT_TRUE(IsWindowEnabled(window_->Handle()));

  std::string rendering;
  int count = 0;
  const HWND tree = window_->ControlWindow(Control::树型框1);
  RenderControl(tree, NextItem(tree, nullptr, TVGN_ROOT), 1, rendering, count);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(FileBytes(), rendering);
  // The walk's order: sub-folders first, each with what lies beneath it, then files.
  EXPECT_EQ(rendering, std::string("----一级\r\n--------二级\r\n------------空\r\n------------深\x81\x5c.txt\r\n"
                                   "--------说明.txt\r\n----readme.txt"));
  EXPECT_EQ(test::FolderEntries(desktop_), std::vector<std::wstring>{L"目录生成.txt"});
}

TEST_F(MainWindowExport, HeldExportFileIsReportedAndKept) {
  ListFolder();
  ExpectShown(ClickExport(), kSuccess);
  const std::string first = FileBytes();
  ASSERT_FALSE(first.empty());

  // A second listing doubles the tree; the file is held open meanwhile.
  ListFolder();
  const HANDLE held = CreateFileA(fileName_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const CapturedMessageBox box = ClickExport();
  CloseHandle(held);
  ExpectShown(box, kFailurePrefix + fileName_);
  EXPECT_EQ(FileBytes(), first);
  EXPECT_EQ(test::FolderEntries(desktop_), std::vector<std::wstring>{L"目录生成.txt"});

  // Released, the next click replaces it.
  ExpectShown(ClickExport(), kSuccess);
  EXPECT_EQ(FileBytes(), first + "\r\n" + first);
}

}  // namespace
}  // namespace korvane
