#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "bare_walk.hpp"

namespace korvane::bench {
namespace {

bool IsDot(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

// Whether the entry is a folder, and a link to one.
bool IsFolder(const std::string& folder, const dirent* entry, bool& link) {
  link = false;
  if (entry->d_type == DT_DIR) return true;
  if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) return false;
  const std::string path = folder + entry->d_name;
  struct stat info {};
  if (entry->d_type == DT_UNKNOWN && lstat(path.c_str(), &info) == 0 && !S_ISLNK(info.st_mode)) {
    return S_ISDIR(info.st_mode);
  }
  link = true;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// folder ends in '/'; passes is 1 or 2 (sub-folders, then files).
void Walk(const std::string& folder, int passes, WalkCount& count) {
  for (int pass = 0; pass < passes; ++pass) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return;
    while (const dirent* entry = readdir(dir)) {
      if (IsDot(entry->d_name)) continue;
      bool link = false;
      const bool isFolder = IsFolder(folder, entry, link);
      if (passes == 2 && isFolder != (pass == 0)) continue;
      ++count.entries;
      if (!isFolder) continue;
      if (link) {
        ++count.folderLinks;
      } else {
        Walk(folder + entry->d_name + "/", passes, count);
      }
    }
    closedir(dir);
  }
}

WalkCount WalkFrom(const Text& folder, int passes) {
  std::string posix = folder;
  for (char& c : posix) {
    if (c == '\\') c = '/';
  }
  if (posix.empty() || posix.back() != '/') posix.push_back('/');
  WalkCount count;
  Walk(posix, passes, count);
  return count;
}

}  // namespace

WalkCount BareWalk(const Text& folder) { return WalkFrom(folder, 1); }
WalkCount TwoPassWalk(const Text& folder) { return WalkFrom(folder, 2); }

}  // namespace korvane::bench
