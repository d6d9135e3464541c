// drop_probe.exe [left top]: a plain window that accepts dropped files and
// prints every drop to stdout. The end-to-end tests use it to prove that an
// X11 drag from outside reaches a Windows program as a genuine WM_DROPFILES,
// independently of Korvane.
//
// Output, one line each, flushed at once:
//   ready <hwnd> <client-left> <client-top>    once the window is shown
//   drop <count>                               per WM_DROPFILES
//   path <ANSI bytes as hex> <same in UTF-8>   per dropped item, in index order
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "probe_text_win32.hpp"

namespace {

using korvane::e2e::AnsiToUtf8;
using korvane::e2e::Hex;

void OnDropFiles(HDROP drop) {
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  std::printf("drop %u\n", count);
  for (UINT i = 0; i < count; ++i) {
    // Ask for the length first so that long paths arrive whole.
    UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string path(length + 1, '\0');
    UINT got = DragQueryFileA(drop, i, &path[0], length + 1);
    path.resize(got);
    std::printf("path %s %s\n", Hex(path).c_str(), AnsiToUtf8(path).c_str());
  }
  std::fflush(stdout);
  DragFinish(drop);
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int left = argc > 2 ? std::atoi(argv[1]) : 100;
  int top = argc > 2 ? std::atoi(argv[2]) : 100;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ProbeProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = "KorvaneDropProbe";
  if (!RegisterClassA(&windowClass)) return 2;
  HWND window = CreateWindowExA(0, "KorvaneDropProbe", "DropProbe", WS_OVERLAPPEDWINDOW, left, top, 400, 300, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 3;
  DragAcceptFiles(window, TRUE);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  std::printf("ready %p %ld %ld\n", static_cast<void*>(window), origin.x, origin.y);
  std::fflush(stdout);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
