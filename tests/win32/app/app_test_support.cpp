#include "app_test_support.hpp"

#include <vector>

namespace korvane::testing {

bool PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (!PumpPendingMessages()) return false;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= milliseconds) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
  }
}

bool PumpUntilQuit(DWORD timeoutMilliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMilliseconds) {
    if (!PumpFor(20)) return true;
  }
  return false;
}

bool PressKey(HWND target, UINT virtualKey, bool shift) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  const BYTE oldShift = keys[VK_SHIFT];
  if (shift) {
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
  }
  const UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  const LPARAM down = 1 | (static_cast<LPARAM>(scanCode) << 16);
  const LPARAM up = down | (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
  PostMessageA(target, WM_KEYDOWN, virtualKey, down);
  PostMessageA(target, WM_KEYUP, virtualKey, up);
  const bool running = PumpFor(30);
  if (shift) {
    keys[VK_SHIFT] = oldShift;
    SetKeyboardState(keys);
  }
  return running;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

RECT PlaceInParent(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  const HWND parent = GetParent(window);
  if (parent != nullptr && (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

TempFolder::TempFolder(const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(path_.c_str(), nullptr);
}

namespace {

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

TempFolder::~TempFolder() { RemoveTree(path_); }

void TempFolder::AddFolder(const std::string& relative) const {
  CreateDirectoryA((path_ + "\\" + relative).c_str(), nullptr);
}

void TempFolder::AddFile(const std::string& relative) const {
  const HANDLE file = CreateFileA((path_ + "\\" + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void RunningApplication::SetUp() {
  window_ = StartApplication(GetModuleHandleA(nullptr));
  ASSERT_NE(window_, nullptr);
  handle_ = window_->Handle();
  SetForegroundWindow(handle_);
  ASSERT_TRUE(PumpFor(50));
}

void RunningApplication::TearDown() {
  if (IsWindow(handle_)) DestroyWindow(handle_);
  if (!quitTaken_) {
    EXPECT_TRUE(PumpUntilQuit()) << "the loop's quit message never came";
  }
  RunExitProcessing();
}

}  // namespace korvane::testing
