// Runs the program in a process of its own, made to end in the fatal path in
// one of these ways (argv[1]):
//   no-window      the main window cannot be created (a CBT hook refuses it)
//   drop-throws    a drop whose handling throws, in the drop hook's procedure
//   click-throws   a click on 按钮2 whose handling throws, in the window's own
//   out-of-memory  an allocation that cannot be had, outside any window
//                  procedure
// argv[2] names a file that an extra exit callback creates if the exit
// callbacks ever run; argv[3] a file that receives the text of every message
// box shown, one per line, each box closed at once.
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>

#include "app/application_win32.hpp"
#include "app/exit_callbacks.hpp"
#include "common/declared_functions_win32.hpp"

namespace {

std::string g_mode;
std::string g_marker;
std::string g_boxes;
void* volatile g_sink = nullptr;

void AppendToFile(const std::string& name, const std::string& bytes) {
  const HANDLE file =
      CreateFileA(name.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void CreateMarker() { AppendToFile(g_marker, ""); }

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// The box being shown; its text is read once its own loop runs.
HWND g_box = nullptr;

void CALLBACK RecordAndCloseBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  char text[512] = {};
  GetWindowTextA(GetDlgItem(g_box, 0xFFFF), text, sizeof text);
  AppendToFile(g_boxes, std::string(text) + "\n");
  PostMessageA(g_box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

LRESULT CALLBACK WatchWindows(int code, WPARAM wParam, LPARAM lParam) {
  const auto window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_CREATEWND && g_mode == "no-window" && ClassOf(window) == "KorvaneMainWindow") return 1;
  if (code == HCBT_ACTIVATE && ClassOf(window) == "#32770" && window != g_box) {
    g_box = window;
    SetTimer(nullptr, 0, 100, &RecordAndCloseBox);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

UINT WINAPI ThrowingDragQueryFile(HDROP, UINT, LPSTR, UINT) { throw std::runtime_error("drop"); }
BOOL WINAPI ThrowingShellFolder(HWND, LPWSTR, int, BOOL) { throw std::runtime_error("desktop"); }

HDROP MakeDrop(const char* path) {
  const std::size_t length = std::strlen(path);
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + length + 2);
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  std::memcpy(header + 1, path, length);
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

// Runs in the program's message loop once the window is up.
void CALLBACK Provoke(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  const korvane::MainWindow* window = korvane::TheMainWindow();
  if (g_mode == "out-of-memory") {
    g_sink = ::operator new(std::numeric_limits<std::size_t>::max() / 2);
  } else if (g_mode == "drop-throws" && window != nullptr) {
    korvane::declared::DragQueryFileA.Override(&ThrowingDragQueryFile);
    PostMessageA(window->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop("C:\\")), 0);
  } else if (g_mode == "click-throws" && window != nullptr) {
    korvane::declared::SHGetSpecialFolderPathW.Override(&ThrowingShellFolder);
    PostMessageA(window->ControlWindow(korvane::Control::按钮2), BM_CLICK, 0, 0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  g_mode = argv[1];
  g_marker = argv[2];
  g_boxes = argv[3];
  korvane::TheExitCallbacks().Register(&CreateMarker);
  SetWindowsHookExA(WH_CBT, &WatchWindows, nullptr, GetCurrentThreadId());
  SetTimer(nullptr, 0, 200, &Provoke);
  const int code = korvane::RunApplication(GetModuleHandleA(nullptr));
  // Only reached if the program did not end in the fatal path.
  korvane::RunExitProcessing();
  return code == 0 ? 3 : code;
}
