// Drops onto the real main window of the application, started in this
// process: each dropped folder is listed in turn, in the drop's order.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/message_loop_win32.hpp"
#include "win32/drop/drop_test_support_win32.hpp"
#include "win32/support/app_session_win32.hpp"
#include "win32/support/temp_folder_win32.hpp"
#include "win32/support/window_read_win32.hpp"

namespace korvane {
namespace {

using testing::TempFolder;
using testing::WindowText;

class MainWindowDropTest : public testing::RunningApplication {
 protected:
  void Drop(const std::vector<std::string>& paths) {
    const HDROP drop = test::MakeAnsiDrop(paths);
    ASSERT_NE(drop, nullptr);
    ASSERT_TRUE(PostMessageA(handle_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
    ASSERT_TRUE(PumpPendingMessages());
  }

  std::vector<std::string> ItemTexts() {
    std::vector<std::string> texts;
    for (int i = 0; i < window_->Tree().ItemCount(); ++i) texts.push_back(window_->Tree().ItemText(i));
    return texts;
  }
};

TEST_F(MainWindowDropTest, TheHookIsRegisteredOnTheMainWindow) {
  FileDropHook* hook = TheFileDropHook();
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(hook->Window, handle_);
  EXPECT_NE(hook->Callback, nullptr);
  EXPECT_EQ(hook->Context, window_) << "drops go to the window the hook was registered on";
  ASSERT_NE(hook->PreviousProc, nullptr);
  EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(handle_, GWLP_WNDPROC)), hook->PreviousProc)
      << "the stub is the window procedure";
  EXPECT_NE(GetWindowLongPtrA(handle_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
}

TEST_F(MainWindowDropTest, ThreeDroppedFoldersAreListedInTheirOrder) {
  TempFolder first("korvane-drop-甲");
  first.AddFolder("子");
  first.AddFile("子\\一.txt");
  TempFolder second("korvane-drop-乙");
  second.AddFile("二.txt");
  TempFolder third("korvane-drop-丙");
  third.AddFile("三.txt");

  Drop({first.Path(), second.Path(), third.Path()});

  // The edit box keeps the last path; every listing appended to PathList in
  // turn, and the tree shows all of it.
  EXPECT_EQ(WindowText(window_->ControlWindow(Control::编辑框1)), third.Path());
  const PathList& paths = ThePathList();
  ASSERT_EQ(paths.Count(), 4u);
  EXPECT_EQ(paths.At(0), first.Path() + "\\子");
  EXPECT_EQ(paths.At(1), first.Path() + "\\子\\一.txt");
  EXPECT_EQ(paths.At(2), second.Path() + "\\二.txt");
  EXPECT_EQ(paths.At(3), third.Path() + "\\三.txt");
  EXPECT_EQ(ItemTexts(), (std::vector<std::string>{"子", "一.txt", "二.txt", "三.txt"}));
}

// A folder whose own name code page 936 cannot hold, dropped by a shell that
// speaks UTF-16: reached through its UTF-16 path, listed under its ANSI text.
TEST_F(MainWindowDropTest, AFolderNamedOutsideTheCodePageIsListed) {
  TempFolder folder("korvane-drop-外文");
  wchar_t parent[MAX_PATH] = {};
  ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, folder.Path().c_str(), -1, parent, MAX_PATH), 0);
  const std::wstring dropped = std::wstring(parent) + L"\\Motörhead";
  const std::wstring inner = dropped + L"\\한국어";
  const std::wstring innerFile = inner + L"\\文件.txt";
  ASSERT_TRUE(CreateDirectoryW(dropped.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(inner.c_str(), nullptr));
  const HANDLE file =
      CreateFileW(innerFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);

  const HDROP drop = test::MakeWideDrop({dropped});
  ASSERT_NE(drop, nullptr);
  ASSERT_TRUE(PostMessageA(handle_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
  ASSERT_TRUE(PumpPendingMessages());

  const std::string ansi = folder.Path() + "\\Mot?rhead";
  EXPECT_EQ(WindowText(window_->ControlWindow(Control::编辑框1)), ansi);
  const PathList& paths = ThePathList();
  ASSERT_EQ(paths.Count(), 2u);
  EXPECT_EQ(paths.At(0), ansi + "\\???");
  EXPECT_EQ(paths.At(1), ansi + "\\???\\文件.txt");
  EXPECT_EQ(ItemTexts(), (std::vector<std::string>{"???", "文件.txt"}));

  // TempFolder removes what it can reach through the ANSI functions.
  DeleteFileW(innerFile.c_str());
  RemoveDirectoryW(inner.c_str());
  RemoveDirectoryW(dropped.c_str());
}

TEST_F(MainWindowDropTest, ALongDroppedPathReachesTheEditBoxWhole) {
  TempFolder folder("korvane-drop-long");
  folder.AddFile("内.txt");
  // A path longer than 999 bytes beneath a real folder: it must arrive
  // whole, not cut and listed as if it named some other folder.
  std::string longPath = folder.Path() + "\\";
  while (longPath.size() < 1500) longPath += longPath.size() % 100 == 0 ? '\\' : 'x';

  Drop({longPath});

  EXPECT_EQ(WindowText(window_->ControlWindow(Control::编辑框1)), longPath);
  EXPECT_EQ(ThePathList().Count(), 0u) << "nothing exists under the whole path";
}

}  // namespace
}  // namespace korvane
