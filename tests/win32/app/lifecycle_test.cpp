// Start-up and shut-down: the hook is registered on the main window while it
// loads, the loop ends when the window is destroyed, and ReleaseGlobals runs
// once, in the exit processing, after the window is gone.
#include <string>
#include <vector>

#include "app/exit_callbacks.hpp"
#include "common/declared_functions_win32.hpp"
#include "win32/support/app_session_win32.hpp"
#include "win32/support/temp_folder_win32.hpp"

namespace korvane {
namespace {

// The hook's registering and unregistering both go through DragAcceptFiles;
// recording each call with whether its window still existed shows when
// ReleaseGlobals ran.
struct DragAcceptCall {
  HWND window;
  BOOL accept;
  bool windowExisted;
  int controls;  // child windows the window had at that moment
};
std::vector<DragAcceptCall> g_dragAcceptCalls;

void WINAPI RecordDragAcceptFiles(HWND window, BOOL accept) {
  int controls = 0;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) ++controls;
  g_dragAcceptCalls.push_back({window, accept, IsWindow(window) != FALSE, controls});
}

class LifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_dragAcceptCalls.clear();
    declared::DragAcceptFiles.Override(&RecordDragAcceptFiles);
  }
  void TearDown() override { declared::DragAcceptFiles.Override(nullptr); }
};

TEST_F(LifecycleTest, ReleaseGlobalsRunsOnceAfterTheWindowIsGone) {
  MainWindow* window = StartApplication(GetModuleHandleA(nullptr));
  ASSERT_NE(window, nullptr);
  const HWND handle = window->Handle();
  EXPECT_TRUE(GlobalsExist());
  EXPECT_NE(TheFileDropHook(), nullptr);
  EXPECT_TRUE(TheExitCallbacks().Contains(&ReleaseGlobals));
  // The created event registered the hook on the main window during the
  // load, once, when all five controls existed.
  ASSERT_EQ(g_dragAcceptCalls.size(), 1u);
  EXPECT_EQ(g_dragAcceptCalls[0].window, handle);
  EXPECT_TRUE(g_dragAcceptCalls[0].accept);
  EXPECT_TRUE(g_dragAcceptCalls[0].windowExisted);
  EXPECT_EQ(g_dragAcceptCalls[0].controls, kControlCount);

  // The user closes the window; the real loop runs until its quit message.
  PostMessageA(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(RunMessageLoop(handle), 0);
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_TRUE(GlobalsExist()) << "released before the exit processing";
  EXPECT_EQ(g_dragAcceptCalls.size(), 1u);

  RunExitProcessing();
  EXPECT_FALSE(GlobalsExist());
  EXPECT_EQ(TheFileDropHook(), nullptr);
  EXPECT_EQ(TheExitCallbacks().Count(), 0u);
  EXPECT_EQ(TheMainWindow(), nullptr);
  ASSERT_EQ(g_dragAcceptCalls.size(), 2u);
  EXPECT_EQ(g_dragAcceptCalls[1].window, handle);
  EXPECT_FALSE(g_dragAcceptCalls[1].accept);
  EXPECT_FALSE(g_dragAcceptCalls[1].windowExisted);

  // The list was emptied: a second exit processing releases nothing twice.
  RunExitProcessing();
  EXPECT_EQ(g_dragAcceptCalls.size(), 2u);
  // No window: the loop is skipped rather than waiting for ever.
  EXPECT_EQ(RunMessageLoop(handle), 0);
}

TEST_F(LifecycleTest, PathListHoldsEveryListingUntilTheExitProcessing) {
  testing::TempFolder folder("korvane-lifecycle");
  folder.AddFolder("sub");
  folder.AddFile("sub\\inner.txt");
  folder.AddFile("outer.txt");

  MainWindow* window = StartApplication(GetModuleHandleA(nullptr));
  ASSERT_NE(window, nullptr);
  window->Edit().SetText(folder.Path());
  SendMessageA(window->ControlWindow(Control::按钮1), BM_CLICK, 0, 0);
  SendMessageA(window->ControlWindow(Control::按钮1), BM_CLICK, 0, 0);
  EXPECT_EQ(ThePathList().Count(), 6u) << "two listings of three entries each";

  PostMessageA(window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(RunMessageLoop(window->Handle()), 0);
  EXPECT_EQ(ThePathList().Count(), 6u);
  RunExitProcessing();
  EXPECT_FALSE(GlobalsExist());
}

// The whole program as korvane.exe runs it. A thread timer, dispatched by the
// program's own loop, presses Esc once the window is up.
UINT_PTR g_escTimer = 0;
void CALLBACK PressEscOnce(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const MainWindow* window = TheMainWindow();
  if (window == nullptr) return;
  const HWND focus = GetFocus();
  PostMessageA(focus != nullptr ? focus : window->Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
}

TEST_F(LifecycleTest, TheProgramEndsWithZeroWhenEscClosesItsWindow) {
  g_escTimer = SetTimer(nullptr, 0, 200, &PressEscOnce);
  ASSERT_NE(g_escTimer, 0u);
  EXPECT_EQ(RunApplication(GetModuleHandleA(nullptr)), 0);

  EXPECT_FALSE(GlobalsExist());
  ASSERT_EQ(g_dragAcceptCalls.size(), 2u);
  EXPECT_TRUE(g_dragAcceptCalls[0].accept);
  EXPECT_FALSE(g_dragAcceptCalls[1].accept);
  EXPECT_FALSE(g_dragAcceptCalls[1].windowExisted) << "ReleaseGlobals ran while the window still existed";
}

// The fatal path ends the process with exit code -1 after its one message
// box, and the exit callbacks do not run. A child process shows it, since
// the error ends the process; it records each box it sees.
struct FatalCase {
  const char* mode;
  const char* message;
};
const FatalCase kFatalCases[] = {
    {"no-window", "无法创建主窗口，程序将退出。"},
    {"drop-throws", "程序内部错误，将退出。"},
    {"click-throws", "程序内部错误，将退出。"},
    // Outside any window procedure only the out-of-memory handler can make
    // this a fatal error; without it the exception ends in std::terminate.
    {"out-of-memory", "内存不足，程序将退出。"},
};

std::string ReadFileBytes(const std::string& name) {
  std::string bytes;
  const HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

class FatalEndTest : public ::testing::TestWithParam<FatalCase> {};

TEST_P(FatalEndTest, EndsWithItsMessageAndMinusOne) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string child = self;
  child = child.substr(0, child.find_last_of('\\') + 1) + "app_fatal_child.exe";
  testing::TempFolder folder("korvane-fatal");
  const std::string marker = folder.Path() + "\\exit-callbacks-ran";
  const std::string boxes = folder.Path() + "\\boxes.txt";

  std::string commandLine = "\"" + child + "\" " + GetParam().mode + " \"" + marker + "\" \"" + boxes + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessA(child.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process))
      << child;
  const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  ASSERT_EQ(waited, WAIT_OBJECT_0) << "the child did not end";
  EXPECT_EQ(exitCode, static_cast<DWORD>(-1));
  EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "the exit callbacks ran";
  EXPECT_EQ(ReadFileBytes(boxes), std::string(GetParam().message) + "\n") << "the fatal error's one box";
}

INSTANTIATE_TEST_SUITE_P(EachWay, FatalEndTest, ::testing::ValuesIn(kFatalCases),
                         [](const ::testing::TestParamInfo<FatalCase>& info) {
                           std::string name = info.param.mode;
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace korvane
