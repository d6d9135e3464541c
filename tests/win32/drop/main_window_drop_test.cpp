// Drops onto the real main window of the application, started in this
// process: each dropped folder is listed in turn, in the drop's order.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/application_win32.hpp"
#include "app/message_loop_win32.hpp"
#include "win32/drop/drop_test_support_win32.hpp"

namespace korvane {
namespace {

// A folder under the temporary folder, removed with its content at the end.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
    EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_;
  }
  ~TempFolder() { Remove(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  void AddFolder(const std::string& relative) const {
    EXPECT_TRUE(CreateDirectoryA((path_ + "\\" + relative).c_str(), nullptr)) << relative;
  }
  void AddFile(const std::string& relative) const {
    const HANDLE file = CreateFileA((path_ + "\\" + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << relative;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }

 private:
  static void Remove(const std::string& path) {
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string child = path + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          Remove(child);
        } else {
          DeleteFileA(child.c_str());
        }
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
  }

  std::string path_;
};

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

class MainWindowDropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = StartApplication(GetModuleHandleA(nullptr));
    ASSERT_NE(window_, nullptr);
    handle_ = window_->Handle();
    ASSERT_TRUE(PumpPendingMessages());
  }

  void TearDown() override {
    if (IsWindow(handle_)) DestroyWindow(handle_);
    // Closing the main window ends the loop: take its quit message.
    const DWORD start = GetTickCount();
    bool quit = false;
    while (!quit && GetTickCount() - start < 5000) {
      quit = !PumpPendingMessages();
      if (!quit) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    EXPECT_TRUE(quit) << "no quit message after the main window closed";
    RunExitProcessing();
  }

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

  MainWindow* window_ = nullptr;
  HWND handle_ = nullptr;
};

TEST_F(MainWindowDropTest, TheHookIsRegisteredOnTheMainWindow) {
  FileDropHook* hook = TheFileDropHook();
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(hook->Window, handle_);
  EXPECT_EQ(hook->Callback, &OnFolderDropped);
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
