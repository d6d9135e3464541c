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
#include <vector>

namespace {

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out;
}

// The text of another process's window; WM_GETTEXT is marshalled across
// processes. Empty if its thread does not answer in time.
std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return std::string();
  std::vector<wchar_t> buffer(length + 2, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           SMTO_ABORTIFHUNG, 2000, &copied)) {
    return std::string();
  }
  return Utf8(std::wstring(buffer.data(), copied));
}

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(window, name, 256);
  return Utf8(std::wstring(name, n > 0 ? static_cast<std::size_t>(n) : 0));
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
