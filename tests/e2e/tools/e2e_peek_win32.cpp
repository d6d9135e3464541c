// e2e_peek.exe MODE ...: looks at the Windows side for the end-to-end tests,
// from outside the program under test, as another process on the same desktop.
//
//   windows [pid]      every top-level window (of that process) and its children:
//                        W <hwnd> <pid> <visible> <class> <text> <window l t r b> <client-origin x y> <client w h>
//                        C <parent> <hwnd> <id> <visible> <class> <text> <window l t r b> <live>
//                      live is 1 when the text came from the window itself (WM_GETTEXT
//                      answered, so its thread is idle), 0 when from the stored caption
//   windows-on <name>  the same for the windows of the named desktop (Wine's virtual
//                        desktop started with explorer /desktop=<name>,...)
//   desktop            the current user's desktop folder, as the shell reports it
//   find <hex>         FindFirstFileA/FindNextFileA over the pattern given as ANSI
//                        bytes in hex: "entry <attributes> <name hex> <name UTF-8>"
//                        per entry, or "fail <GetLastError>"
//   hold <path>        opens the file shared with nobody, prints "held", and keeps
//                        it open until its standard input ends
//
// Texts are printed in UTF-8; tab, newline, carriage return and backslash in
// them are escaped as \t \n \r \\ so that every record stays on one line.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "probe_text_win32.hpp"

namespace {

using korvane::e2e::AnsiToWide;
using korvane::e2e::ClassOf;
using korvane::e2e::Escape;
using korvane::e2e::Hex;
using korvane::e2e::WideToUtf8;

std::string FromHex(const char* hex) {
  std::string out;
  for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
    char pair[3] = {hex[i], hex[i + 1], '\0'};
    out += static_cast<char>(std::strtoul(pair, nullptr, 16));
  }
  return out;
}

// The text of a window of another process: WM_GETTEXT is marshalled across
// processes; a window whose thread is busy falls back to the stored caption.
std::wstring WindowText(HWND window, bool* live = nullptr) {
  std::wstring text;
  const bool answered = korvane::e2e::LiveWindowText(window, text);
  if (live) *live = answered;
  if (answered) return text;
  wchar_t stored[4096] = {};
  int n = GetWindowTextW(window, stored, 4096);
  return std::wstring(stored, n > 0 ? static_cast<size_t>(n) : 0);
}

struct Listing {
  DWORD pid;
};

BOOL CALLBACK PrintChild(HWND child, LPARAM parentValue) {
  HWND parent = reinterpret_cast<HWND>(parentValue);
  RECT r = {};
  GetWindowRect(child, &r);
  bool live = false;
  std::string text = WideToUtf8(WindowText(child, &live));
  std::printf("C\t%p\t%p\t%ld\t%d\t%s\t%s\t%ld\t%ld\t%ld\t%ld\t%d\n", static_cast<void*>(parent),
              static_cast<void*>(child), static_cast<long>(GetDlgCtrlID(child)), IsWindowVisible(child) ? 1 : 0,
              Escape(ClassOf(child)).c_str(), Escape(text).c_str(), r.left, r.top, r.right, r.bottom, live ? 1 : 0);
  return TRUE;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM listingValue) {
  const Listing* listing = reinterpret_cast<const Listing*>(listingValue);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (listing->pid != 0 && pid != listing->pid) return TRUE;
  RECT r = {};
  GetWindowRect(window, &r);
  RECT client = {};
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  std::printf("W\t%p\t%lu\t%d\t%s\t%s\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\n", static_cast<void*>(window),
              static_cast<unsigned long>(pid), IsWindowVisible(window) ? 1 : 0, Escape(ClassOf(window)).c_str(),
              Escape(WideToUtf8(WindowText(window))).c_str(), r.left, r.top, r.right, r.bottom, origin.x, origin.y,
              client.right, client.bottom);
  EnumChildWindows(window, PrintChild, reinterpret_cast<LPARAM>(window));
  return TRUE;
}

int ListWindows(const std::vector<std::wstring>& args) {
  Listing listing = {args.size() > 2 ? static_cast<DWORD>(std::wcstoul(args[2].c_str(), nullptr, 10)) : 0};
  EnumWindows(PrintTopLevel, reinterpret_cast<LPARAM>(&listing));
  return 0;
}

int ListWindowsOn(const std::vector<std::wstring>& args) {
  if (args.size() < 3) return 2;
  HDESK desk = OpenDesktopW(args[2].c_str(), 0, FALSE, DESKTOP_ENUMERATE | DESKTOP_READOBJECTS);
  if (!desk) {
    std::printf("fail %lu\n", GetLastError());
    return 1;
  }
  Listing listing = {0};
  EnumDesktopWindows(desk, PrintTopLevel, reinterpret_cast<LPARAM>(&listing));
  CloseDesktop(desk);
  return 0;
}

int PrintDesktop() {
  wchar_t path[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path))) return 1;
  std::printf("%s\n", WideToUtf8(path).c_str());
  return 0;
}

int Find(const std::vector<std::wstring>& args) {
  if (args.size() < 3) return 2;
  std::string pattern = FromHex(WideToUtf8(args[2]).c_str());
  WIN32_FIND_DATAA data = {};
  HANDLE search = FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) {
    std::printf("fail %lu\n", GetLastError());
    return 0;
  }
  do {
    std::string name = data.cFileName;
    std::printf("entry %08lx %s %s\n", data.dwFileAttributes, Hex(name).c_str(),
                Escape(WideToUtf8(AnsiToWide(name))).c_str());
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return 0;
}

int Hold(const std::vector<std::wstring>& args) {
  if (args.size() < 3) return 2;
  HANDLE file = CreateFileW(args[2].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::printf("fail %lu\n", GetLastError());
    std::fflush(stdout);
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  while (std::fgetc(stdin) != EOF) {
  }
  CloseHandle(file);
  return 0;
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* raw = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args(raw, raw + count);
  LocalFree(raw);
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: e2e_peek windows [pid] | windows-on <desktop> | desktop | find <hex> | hold <path>\n");
    return 2;
  }
  const std::wstring& mode = args[1];
  int result = 2;
  if (mode == L"windows")
    result = ListWindows(args);
  else if (mode == L"windows-on")
    result = ListWindowsOn(args);
  else if (mode == L"desktop")
    result = PrintDesktop();
  else if (mode == L"find")
    result = Find(args);
  else if (mode == L"hold")
    result = Hold(args);
  std::fflush(stdout);
  return result;
}
