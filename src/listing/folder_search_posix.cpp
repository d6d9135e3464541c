// The folder search over opendir/readdir. The walk speaks in Windows-style
// paths (backslashes); the start folder's text is translated once, and the
// folders beneath are reached by their names as the directory gives them. A
// folder is read in one go and closed at once, so a deep walk holds no open
// descriptor per level. Names are bytes, passed on as they are.
#include <dirent.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "listing/folder_search.hpp"

namespace korvane {
namespace {

std::optional<FolderIdentity> IdentifyFolder(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return FolderIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

struct RawEntry {
  std::size_t offset;  // into the names block
  std::size_t size;
  bool folder;
  bool link;
};

}  // namespace

struct FolderSearch::State {
  // The folder's POSIX path, ending in '/'.
  std::string folder;
  // Whether the walk's text of the folder ends in a separator (see
  // ReadChild): without one, the paths beneath run on from the name.
  bool separated = true;
  std::string names;  // every name of the folder, back to back
  std::vector<RawEntry> entries;
  std::string scratch;

  void Clear() noexcept {
    names.clear();
    entries.clear();
  }

  void EntryPath(std::size_t index, std::string& out) const {
    const RawEntry& entry = entries[index];
    out.assign(folder, 0, separated ? folder.size() : folder.size() - 1);
    out.append(names, entry.offset, entry.size);
  }

  bool Read() {
    Clear();
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return false;
    while (const dirent* found = readdir(dir)) {
      const std::string_view name(found->d_name);
      RawEntry entry{names.size(), name.size(), found->d_type == DT_DIR, false};
      names.append(name);
      if (found->d_type == DT_LNK || found->d_type == DT_UNKNOWN) Classify(entry);
      entries.push_back(entry);
    }
    closedir(dir);
    return true;
  }

  // A symbolic link (a folder when it leads to one), or an entry whose type
  // the directory does not tell.
  void Classify(RawEntry& entry) {
    scratch.assign(folder).append(names, entry.offset, entry.size);
    struct stat info {};
    if (lstat(scratch.c_str(), &info) != 0) return;
    if (!S_ISLNK(info.st_mode)) {
      entry.folder = S_ISDIR(info.st_mode);
      return;
    }
    entry.link = true;
    entry.folder = stat(scratch.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }
};

FolderSearch::FolderSearch() noexcept = default;
FolderSearch::~FolderSearch() = default;
FolderSearch::FolderSearch(FolderSearch&&) noexcept = default;
FolderSearch& FolderSearch::operator=(FolderSearch&&) noexcept = default;

// The folder that path + "\*" names, every backslash a slash. A text with a
// leading double backslash in that pattern names a network path, which has no
// POSIX counterpart: like a refused pattern it gives no folder.
bool FolderSearch::ReadStart(const Text& path, std::wstring_view /*widePath*/) {
  if (!state_) state_ = std::make_unique<State>();
  State& s = *state_;
  s.Clear();
  const Text pattern = path + "\\*";
  if (pattern[0] == kBackslash && pattern[1] == kBackslash) return false;
  s.folder.assign(pattern, 0, pattern.size() - 1);
  for (char& c : s.folder) {
    if (c == kBackslash) c = '/';
  }
  s.separated = true;  // the slashes have made every backslash byte one
  return s.Read();
}

bool FolderSearch::ReadChild(const FolderSearch& parent, std::size_t index, bool separated) {
  if (!state_) state_ = std::make_unique<State>();
  State& s = *state_;
  parent.state_->EntryPath(index, s.folder);
  s.folder.push_back('/');
  s.separated = separated;
  return s.Read();
}

std::size_t FolderSearch::Count() const noexcept { return state_ ? state_->entries.size() : 0; }

FolderEntry FolderSearch::Entry(std::size_t index) const noexcept {
  const RawEntry& entry = state_->entries[index];
  return FolderEntry{std::string_view(state_->names).substr(entry.offset, entry.size), entry.folder, entry.link};
}

std::optional<FolderIdentity> FolderSearch::Identity() const {
  if (!state_) return std::nullopt;
  return IdentifyFolder(state_->folder);
}

std::optional<FolderIdentity> FolderSearch::EntryIdentity(std::size_t index) const {
  std::string path;
  state_->EntryPath(index, path);
  return IdentifyFolder(path);
}

void FolderSearch::Close() noexcept {
  if (state_) state_->Clear();
}

}  // namespace korvane
