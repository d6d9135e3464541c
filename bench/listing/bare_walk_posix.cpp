#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "bare_walk.hpp"

namespace korvane::bench {
namespace {

bool IsDot(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

bool IsFolder(const std::string& folder, const dirent* entry) {
  if (entry->d_type == DT_DIR) return true;
  if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) return false;
  struct stat info {};
  return stat((folder + entry->d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// folder ends in '/'. Links are not entered: the trees measured have none
// that loop.
std::size_t Walk(const std::string& folder) {
  std::size_t count = 0;
  for (int pass = 0; pass < 2; ++pass) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return count;
    while (const dirent* entry = readdir(dir)) {
      if (IsDot(entry->d_name)) continue;
      const bool isFolder = IsFolder(folder, entry);
      if (pass == 0 && isFolder) {
        ++count;
        count += Walk(folder + entry->d_name + "/");
      } else if (pass == 1 && !isFolder) {
        ++count;
      }
    }
    closedir(dir);
  }
  return count;
}

}  // namespace

std::size_t BareWalk(const Text& folder) {
  std::string posix = folder;
  for (char& c : posix) {
    if (c == '\\') c = '/';
  }
  if (posix.empty() || posix.back() != '/') posix.push_back('/');
  return Walk(posix);
}

}  // namespace korvane::bench
