// window_probe.exe MODE ...: what the end-to-end tests of the main window ask
// the Windows side, from another process on the same desktop.
//
//   focus <hwnd hex>   the keyboard focus of the thread that owns the window:
//                        focus <hwnd> <class> <text> <control id>
//                        active <hwnd>
//   screen             the primary screen's size: screen <cx> <cy>
//   style <hwnd hex>   style <style hex> <exstyle hex>
//
// Texts are printed in UTF-8; tab, newline, carriage return and backslash in
// them are escaped as \t \n \r \\ so that every record stays on one line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "probe_text_win32.hpp"

namespace {

using korvane::e2e::ClassOf;
using korvane::e2e::Escape;

// The text of another process's window; empty if its thread does not answer in time.
std::string TextOf(HWND window) {
  std::wstring text;
  return korvane::e2e::LiveWindowText(window, text) ? korvane::e2e::WideToUtf8(text) : std::string();
}

HWND ParseHandle(const char* text) {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoull(text, nullptr, 16)));
}

int PrintFocus(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (thread == 0 || !GetGUIThreadInfo(thread, &info)) {
    std::printf("fail %lu\n", GetLastError());
    return 1;
  }
  const HWND focus = info.hwndFocus;
  std::printf("focus\t%p\t%s\t%s\t%ld\n", static_cast<void*>(focus), focus ? Escape(ClassOf(focus)).c_str() : "-",
              focus ? Escape(TextOf(focus)).c_str() : "", focus ? static_cast<long>(GetDlgCtrlID(focus)) : 0L);
  std::printf("active\t%p\n", static_cast<void*>(info.hwndActive));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: window_probe focus <hwnd> | screen | style <hwnd>\n");
    return 2;
  }
  const std::string mode = argv[1];
  int result = 2;
  if (mode == "focus" && argc > 2) {
    result = PrintFocus(ParseHandle(argv[2]));
  } else if (mode == "screen") {
    std::printf("screen\t%d\t%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    result = 0;
  } else if (mode == "style" && argc > 2) {
    const HWND window = ParseHandle(argv[2]);
    std::printf("style\t%08lx\t%08lx\n", static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)));
    result = 0;
  }
  std::fflush(stdout);
  return result;
}
