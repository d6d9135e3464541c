// The main window's events reach their handlers: 按钮1 lists the folder in
// the edit box, a drop lists the dropped folder, 按钮2 exports, and a new
// current item in the tree box changes nothing.
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "export/listing_export_win32.hpp"
#include "listing/listing_loader.hpp"
#include "win32/support/app_session_win32.hpp"
#include "win32/support/temp_folder_win32.hpp"
#include "win32/support/window_read_win32.hpp"

namespace korvane {
namespace {

using testing::PressKey;
using testing::RunningApplication;
using testing::TempFolder;
using testing::WindowText;

std::vector<std::string> g_messageBoxTexts;
int WINAPI RecordMessageBox(HWND, LPCSTR text, LPCSTR, UINT) {
  g_messageBoxTexts.emplace_back(text != nullptr ? text : "");
  return IDOK;
}

// An HDROP as the shell hands it over: a DROPFILES header and the ANSI paths,
// each zero-terminated, with one more zero at the end.
HGLOBAL MakeDrop(const std::vector<std::string>& paths) {
  std::size_t bytes = sizeof(DROPFILES) + 1;
  for (const std::string& path : paths) bytes += path.size() + 1;
  const HGLOBAL memory = GlobalAlloc(GHND, bytes);
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = FALSE;
  char* next = reinterpret_cast<char*>(header + 1);
  for (const std::string& path : paths) {
    std::memcpy(next, path.c_str(), path.size() + 1);
    next += path.size() + 1;
  }
  GlobalUnlock(memory);
  return memory;
}

std::vector<std::string> ItemTexts(const TreeBox& tree) {
  std::vector<std::string> texts;
  for (int i = 0; i < tree.ItemCount(); ++i) texts.push_back(tree.ItemText(i));
  return texts;
}

using WiringTest = RunningApplication;

TEST_F(WiringTest, QueryButtonListsTheFolderNamedInTheEditBox) {
  TempFolder folder("korvane-query");
  folder.AddFolder("子目录");
  folder.AddFile("子目录\\内.txt");
  folder.AddFile("外.txt");
  SetWindowTextA(ControlWindow(Control::编辑框1), folder.Path().c_str());

  SendMessageA(ControlWindow(Control::按钮1), BM_CLICK, 0, 0);

  EXPECT_EQ(ThePathList().Count(), 3u);
  EXPECT_EQ(ItemTexts(window_->Tree()), (std::vector<std::string>{"子目录", "内.txt", "外.txt"}));
  EXPECT_EQ(window_->Tree().ParentIndex(1), 0);
}

TEST_F(WiringTest, ADroppedFolderIsWrittenToTheEditBoxAndListed) {
  TempFolder first("korvane-drop-a");
  first.AddFile("一.txt");
  TempFolder second("korvane-drop-b");
  second.AddFile("二.txt");

  PostMessageA(handle_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({first.Path(), second.Path()})), 0);
  ASSERT_TRUE(testing::PumpFor(100));

  // Each path in turn; the last one stays in the edit box, and the tree
  // shows every listing since start-up.
  EXPECT_EQ(WindowText(ControlWindow(Control::编辑框1)), second.Path());
  EXPECT_EQ(ThePathList().Count(), 2u);
  EXPECT_EQ(ItemTexts(window_->Tree()), (std::vector<std::string>{"一.txt", "二.txt"}));
}

TEST_F(WiringTest, ExportButtonExportsTheTreeAndReportsIt) {
  g_messageBoxTexts.clear();
  window_->SetMessageBox(&RecordMessageBox);
  ByteBuffer content;
  AppendTreeRecord(content, "导出测试", 0, 1, 0, 0, 0);
  window_->Tree().WriteContent(content);

  SendMessageA(ControlWindow(Control::按钮2), BM_CLICK, 0, 0);
  window_->SetMessageBox(nullptr);

  ASSERT_EQ(g_messageBoxTexts.size(), 1u);
  EXPECT_EQ(g_messageBoxTexts[0], "导出成功！文件在桌面");
}

TEST_F(WiringTest, ANewCurrentItemByKeyboardChangesNothingElse) {
  ByteBuffer content;
  for (const char* text : {"甲", "乙", "丙"}) AppendTreeRecord(content, text, 0, 1, 0, 0, 0);
  window_->Tree().WriteContent(content);
  window_->Edit().SetText("Z:\\somewhere");
  const std::string caption = WindowText(handle_);
  SetFocus(ControlWindow(Control::树型框1));
  ASSERT_EQ(window_->Tree().CurrentItem(), 0);

  ASSERT_TRUE(PressKey(GetFocus(), VK_DOWN));
  ASSERT_EQ(window_->Tree().CurrentItem(), 1) << "the key did not move the current item";

  EXPECT_EQ(window_->Edit().GetText(), "Z:\\somewhere");
  EXPECT_EQ(ItemTexts(window_->Tree()), (std::vector<std::string>{"甲", "乙", "丙"}));
  EXPECT_EQ(ThePathList().Count(), 0u);
  EXPECT_EQ(WindowText(handle_), caption);
  EXPECT_EQ(GetFocus(), ControlWindow(Control::树型框1));
  EXPECT_TRUE(IsWindow(handle_));
}

}  // namespace
}  // namespace korvane
