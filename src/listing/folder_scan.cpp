#include "listing/folder_scan.hpp"

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "listing/folder_search.hpp"

namespace korvane {
namespace {

// One folder being walked: its path (ending in a backslash by its last
// byte), its entries as read once, and how far its sub-folders have come.
// Its identity is read only when a link somewhere beneath it needs it.
struct Frame {
  Text path;
  FolderSearch search;
  std::size_t next = 0;  // the next entry to look at for a sub-folder
  bool identityRead = false;
  std::optional<FolderIdentity> identity;
};

bool IsDotEntry(std::string_view name) noexcept { return CompareText(name, ".") == 0 || CompareText(name, "..") == 0; }

// The walk keeps its own stack instead of recursing, so a deep tree cannot
// overflow the thread's stack. Frames past `depth` are kept for reuse: their
// entry storage and path storage serve the next sibling.
class Walk {
 public:
  explicit Walk(PathList& paths) : paths_(paths) {}

  void Run(const Text& start, std::wstring_view widePath) {
    Frame& frame = NewFrame(start);
    if (frame.search.ReadStart(frame.path, widePath)) ++depth_;
    while (depth_ > 0) Step();
  }

 private:
  // The frame above the walked ones, made ready for the folder named path.
  Frame& NewFrame(std::string_view path) {
    if (depth_ == frames_.size()) frames_.emplace_back();
    Frame& frame = frames_[depth_];
    frame.path.assign(path);
    frame.next = 0;
    frame.identityRead = false;
    frame.identity.reset();
    return frame;
  }

  // Goes into the next sub-folder of the top folder, or, when there is none
  // left, appends the folder's files and leaves it.
  void Step() {
    Frame& frame = frames_[depth_ - 1];
    const FolderSearch& search = frame.search;
    while (frame.next < search.Count()) {
      const std::size_t index = frame.next++;
      const FolderEntry entry = search.Entry(index);
      if (!entry.folder || IsDotEntry(entry.name)) continue;
      entry_.assign(frame.path).append(entry.name);
      paths_.Append(entry_);
      if (!entry.link) {
        Enter(index);
      } else {
        const std::optional<FolderIdentity> target = search.EntryIdentity(index);
        if (!MayEnterLink(target)) continue;
        if (Enter(index)) {
          Frame& entered = frames_[depth_ - 1];  // known already: where the link leads
          entered.identity = target;
          entered.identityRead = true;
        }
      }
      return;
    }
    // The files, in the order the folder was read: after the sub-folders, as
    // a second search of the folder for files alone would give them.
    for (std::size_t index = 0; index < search.Count(); ++index) {
      const FolderEntry entry = search.Entry(index);
      if (entry.folder) continue;
      entry_.assign(frame.path).append(entry.name);
      paths_.Append(entry_);
    }
    frame.search.Close();
    --depth_;
  }

  // Reads the folder that entry index of the top folder names (its path is
  // in entry_) and walks it next. False when it cannot be listed.
  bool Enter(std::size_t index) {
    const bool separated = !EndsWithBackslashByte(entry_);
    if (separated) entry_.push_back(kBackslash);
    Frame& child = NewFrame(entry_);            // may move the frames
    const Frame& parent = frames_[depth_ - 1];  // so the parent is looked up after
    if (!child.search.ReadChild(parent.search, index, separated)) return false;
    ++depth_;
    return true;
  }

  // A link is entered when the folder it leads to is none of the folders
  // being walked (a circle) and no earlier link of this scan led into it
  // (links that lead twice to the same folder, level after level, would
  // multiply the walk). A link whose target cannot be told is entered: a
  // folder that cannot be identified cannot be listed either.
  bool MayEnterLink(const std::optional<FolderIdentity>& target) {
    if (!target) return true;
    for (std::size_t i = 0; i < depth_; ++i) {
      Frame& walked = frames_[i];
      if (!walked.identityRead) {
        walked.identity = walked.search.Identity();
        walked.identityRead = true;
      }
      if (walked.identity && *walked.identity == *target) return false;
    }
    return linkTargets_.insert(*target).second;
  }

  PathList& paths_;
  std::vector<Frame> frames_;
  std::size_t depth_ = 0;
  Text entry_;
  std::set<FolderIdentity> linkTargets_;  // folders entered through a link
};

}  // namespace

void ScanFolder(Text& path, PathList& paths, std::wstring_view widePath) {
  std::wstring wide;
  if (!EndsWithBackslashByte(path)) {
    path.push_back(kBackslash);
    if (!widePath.empty()) {
      wide.reserve(widePath.size() + 1);
      wide.append(widePath).push_back(L'\\');
      widePath = wide;
    }
  }
  Walk walk(paths);
  walk.Run(path, widePath);
}

}  // namespace korvane
