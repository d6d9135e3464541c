#include "listing/folder_scan.hpp"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "listing/folder_search.hpp"

namespace korvane {
namespace {

// One folder being walked: its path (ending in a backslash by its last
// byte), its own search variable and the pass it is in. Its identity is read
// only when a link somewhere beneath it needs it.
struct Frame {
  Text path;
  FolderSearch search;
  EntryKind pass = EntryKind::Folders;
  bool started = false;  // the current pass has run its first search
  bool identityRead = false;
  std::optional<FolderIdentity> identity;

  void Begin(std::string_view folder) {
    path.assign(folder);
    if (!EndsWithBackslashByte(path)) path.push_back(kBackslash);
    pass = EntryKind::Folders;
    started = false;
    identityRead = false;
    identity.reset();
  }
};

Text SearchPattern(const Text& folder) {
  Text pattern;
  pattern.reserve(folder.size() + 2);
  pattern.append(folder);
  pattern.append("\\*");  // the folder already ends in one, so two backslashes in a row
  return pattern;
}

bool IsDotEntry(std::string_view name) noexcept { return CompareText(name, ".") == 0 || CompareText(name, "..") == 0; }

// The walk keeps its own stack instead of recursing, so a deep tree cannot
// overflow the thread's stack. Frames past `depth` are kept for reuse: their
// search state and path storage serve the next sibling.
class Walk {
 public:
  explicit Walk(PathList& paths) : paths_(paths) {}

  void Run(const Text& start) {
    Push(start);
    while (depth_ > 0) Step();
  }

 private:
  Frame& Top() { return frames_[depth_ - 1]; }

  void Push(std::string_view folder) {
    if (depth_ == frames_.size()) frames_.emplace_back();
    frames_[depth_].Begin(folder);
    ++depth_;
  }

  void Pop() {
    Top().search.CloseFind();
    --depth_;
  }

  std::string_view NextName(Frame& frame) {
    if (frame.started) return frame.search.FindEntry(Text(), frame.pass);
    frame.started = true;
    return frame.search.FindEntry(SearchPattern(frame.path), frame.pass);
  }

  void Step() {
    Frame& frame = Top();
    const std::string_view name = NextName(frame);
    if (name.empty()) {
      if (frame.pass == EntryKind::Folders) {
        frame.pass = EntryKind::Files;  // each folder is searched twice, once per pass
        frame.started = false;
      } else {
        Pop();
      }
      return;
    }
    if (frame.pass == EntryKind::Files) {
      entry_.assign(frame.path).append(name);
      paths_.Append(entry_);
      return;
    }
    if (IsDotEntry(name)) return;
    entry_.assign(frame.path).append(name);
    paths_.Append(entry_);
    if (frame.search.EntryIsLink() && LeadsToWalkedFolder(entry_)) return;
    Push(entry_);  // may move the frames; `frame` is not used after this
  }

  // True when folder (reached through a link) is one of the folders being
  // walked, so entering it would walk in a circle.
  bool LeadsToWalkedFolder(const Text& folder) {
    const std::optional<FolderIdentity> target = IdentifyFolder(folder);
    if (!target) return false;  // cannot be read: its search will find nothing either
    for (std::size_t i = 0; i < depth_; ++i) {
      Frame& walked = frames_[i];
      if (!walked.identityRead) {
        walked.identity = IdentifyFolder(walked.path);
        walked.identityRead = true;
      }
      if (walked.identity && *walked.identity == *target) return true;
    }
    return false;
  }

  PathList& paths_;
  std::vector<Frame> frames_;
  std::size_t depth_ = 0;
  Text entry_;
};

}  // namespace

void ScanFolder(Text& path, PathList& paths) {
  if (!EndsWithBackslashByte(path)) path.push_back(kBackslash);
  Walk walk(paths);
  walk.Run(path);
}

}  // namespace korvane
