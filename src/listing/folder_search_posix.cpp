// The folder search over opendir/readdir. The walk speaks in Windows-style
// paths (backslashes, "<folder>\*" patterns); this file translates them. A
// search reads its folder's entries in one go and closes the directory at
// once, so a deep walk holds no open descriptor per level.
#include <dirent.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "listing/folder_search.hpp"

namespace korvane {
namespace {

// "<folder>\*" becomes the POSIX folder path, every backslash a slash. A
// pattern with a leading double backslash names a network path, which has no
// POSIX counterpart; like a refused pattern it gives no folder.
bool PatternToFolder(const Text& pattern, std::string& folder) {
  if (pattern.size() < 2 || pattern[pattern.size() - 1] != '*' || pattern[pattern.size() - 2] != kBackslash)
    return false;
  if (pattern[0] == kBackslash && pattern[1] == kBackslash) return false;
  folder.assign(pattern, 0, pattern.size() - 1);
  for (char& c : folder) {
    if (c == kBackslash) c = '/';
  }
  return true;
}

std::string ToPosixPath(const Text& path) {
  std::string posix(path);
  for (char& c : posix) {
    if (c == kBackslash) c = '/';
  }
  return posix;
}

struct RawEntry {
  std::size_t offset;  // into the names block
  std::size_t size;
  unsigned char type;  // d_type
};

}  // namespace

struct FolderSearch::State {
  bool open = false;
  std::string folder;  // POSIX path ending in '/'
  std::string names;   // every name of the folder, back to back
  std::vector<RawEntry> entries;
  std::size_t next = 0;
  bool lastIsLink = false;
  std::string scratch;

  void Close() noexcept {
    open = false;
    names.clear();
    entries.clear();
    next = 0;
  }

  bool Start(const Text& pattern) {
    Close();
    if (!PatternToFolder(pattern, folder)) return false;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return false;
    while (const dirent* entry = readdir(dir)) {
      const std::string_view name(entry->d_name);
      entries.push_back(RawEntry{names.size(), name.size(), entry->d_type});
      names.append(name);
    }
    closedir(dir);
    open = true;
    return true;
  }

  // Whether the entry is a folder; a symbolic link to a folder counts as one.
  bool IsFolder(const RawEntry& entry, bool& isLink) {
    isLink = false;
    unsigned char type = entry.type;
    if (type != DT_DIR && type != DT_REG) {
      scratch.assign(folder).append(names, entry.offset, entry.size);
      struct stat info {};
      if (type == DT_UNKNOWN) {
        if (lstat(scratch.c_str(), &info) != 0) return false;
        if (!S_ISLNK(info.st_mode)) return S_ISDIR(info.st_mode);
      } else if (type != DT_LNK) {
        return false;
      }
      isLink = true;
      return stat(scratch.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    return type == DT_DIR;
  }
};

FolderSearch::FolderSearch() noexcept = default;
FolderSearch::~FolderSearch() = default;
FolderSearch::FolderSearch(FolderSearch&&) noexcept = default;
FolderSearch& FolderSearch::operator=(FolderSearch&&) noexcept = default;

std::string_view FolderSearch::FindEntry(const Text& pattern, EntryKind kind) {
  if (!pattern.empty()) {
    if (!state_) state_ = std::make_unique<State>();
    if (!state_->Start(pattern)) return {};
  } else if (!state_ || !state_->open) {
    return {};
  }
  State& s = *state_;
  while (s.next < s.entries.size()) {
    const RawEntry& entry = s.entries[s.next++];
    bool isLink = false;
    const bool folder = s.IsFolder(entry, isLink);
    if (folder == (kind == EntryKind::Folders)) {
      s.lastIsLink = isLink;
      return std::string_view(s.names).substr(entry.offset, entry.size);
    }
  }
  s.Close();
  return {};
}

bool FolderSearch::EntryIsLink() const noexcept { return state_ && state_->lastIsLink; }

void FolderSearch::CloseFind() noexcept {
  if (state_) state_->Close();
}

bool FolderSearch::IsOpen() const noexcept { return state_ && state_->open; }

std::optional<FolderIdentity> IdentifyFolder(const Text& path) {
  struct stat info {};
  if (stat(ToPosixPath(path).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return FolderIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace korvane
