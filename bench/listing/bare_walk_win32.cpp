#include <windows.h>

#include <cstring>
#include <string>

#include "bare_walk.hpp"

namespace korvane::bench {
namespace {

bool IsDot(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

// folder ends in a backslash.
std::size_t Walk(const std::string& folder) {
  std::size_t count = 0;
  const std::string pattern = folder + "*";
  for (int pass = 0; pass < 2; ++pass) {
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return count;
    do {
      if (IsDot(data.cFileName)) continue;
      const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (pass == 0 && isFolder) {
        ++count;
        count += Walk(folder + data.cFileName + "\\");
      } else if (pass == 1 && !isFolder) {
        ++count;
      }
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  return count;
}

}  // namespace

std::size_t BareWalk(const Text& folder) {
  std::string path = folder;
  if (path.empty() || path.back() != '\\') path.push_back('\\');
  return Walk(path);
}

}  // namespace korvane::bench
