#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "bare_walk.hpp"

namespace korvane::bench {
namespace {

bool IsDot(const wchar_t* name) { return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0; }
bool IsDot(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

constexpr DWORD kLink = FILE_ATTRIBUTE_REPARSE_POINT;

// folder ends in a backslash and is restored on return.
void WalkWide(std::wstring& folder, WalkCount& count) {
  const std::size_t size = folder.size();
  folder.push_back(L'*');
  WIN32_FIND_DATAW data;
  const HANDLE search = FindFirstFileExW(folder.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH);
  folder.resize(size);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (IsDot(data.cFileName)) continue;
    ++count.entries;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
    if (data.dwFileAttributes & kLink) {
      ++count.folderLinks;
      continue;
    }
    folder.append(data.cFileName).push_back(L'\\');
    WalkWide(folder, count);
    folder.resize(size);
  } while (FindNextFileW(search, &data));
  FindClose(search);
}

// folder ends in a backslash.
void WalkTwice(const std::string& folder, WalkCount& count) {
  const std::string pattern = folder + "*";
  for (int pass = 0; pass < 2; ++pass) {
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      if (IsDot(data.cFileName)) continue;
      const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (isFolder != (pass == 0)) continue;
      ++count.entries;
      if (!isFolder) continue;
      if (data.dwFileAttributes & kLink) {
        ++count.folderLinks;
      } else {
        WalkTwice(folder + data.cFileName + "\\", count);
      }
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
}

}  // namespace

WalkCount BareWalk(const Text& folder) {
  // The folder in the long form: \\?\ and its absolute path.
  const int size = MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide.data(), size);
  std::wstring full(32768, L'\0');
  full.resize(GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
  std::wstring path = L"\\\\?\\" + full;
  if (path.back() != L'\\') path.push_back(L'\\');
  WalkCount count;
  WalkWide(path, count);
  return count;
}

WalkCount TwoPassWalk(const Text& folder) {
  std::string path = folder;
  if (path.empty() || path.back() != '\\') path.push_back('\\');
  WalkCount count;
  WalkTwice(path, count);
  return count;
}

}  // namespace korvane::bench
