#pragma once
// Helpers of the drop tests: a DROPFILES block as the shell posts it, and the
// message pump.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace korvane::test {

// An ANSI DROPFILES block holding paths, as the shell hands it over with
// WM_DROPFILES. The receiver frees it with DragFinish.
inline HDROP MakeAnsiDrop(const std::vector<std::string>& paths) {
  std::size_t size = sizeof(DROPFILES) + 1;
  for (const std::string& path : paths) size += path.size() + 1;
  HGLOBAL block = GlobalAlloc(GHND, size);
  if (block == nullptr) return nullptr;
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = FALSE;
  char* out = reinterpret_cast<char*>(header) + sizeof(DROPFILES);
  for (const std::string& path : paths) {
    std::memcpy(out, path.c_str(), path.size() + 1);
    out += path.size() + 1;
  }
  *out = '\0';
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

// The same with UTF-16 paths, as the shell of a Windows NT system hands it
// over.
inline HDROP MakeWideDrop(const std::vector<std::wstring>& paths) {
  std::size_t size = sizeof(DROPFILES) + sizeof(wchar_t);
  for (const std::wstring& path : paths) size += (path.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GHND, size);
  if (block == nullptr) return nullptr;
  auto* header = static_cast<DROPFILES*>(GlobalLock(block));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* out = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES));
  for (const std::wstring& path : paths) {
    std::memcpy(out, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    out += path.size() + 1;
  }
  *out = L'\0';
  GlobalUnlock(block);
  return static_cast<HDROP>(block);
}

// Dispatches every message waiting for this thread.
inline void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// The Windows version the test prefix reports, as scripts/wine-run chose it.
inline std::string WineVersion() {
  const char* version = std::getenv("KORVANE_WINE_VERSION");
  return version != nullptr && *version != '\0' ? version : "win10";
}

}  // namespace korvane::test
