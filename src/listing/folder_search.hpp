#pragma once
// FolderSearch: one search-handle variable of the folder walk. It holds an
// open search of one folder or none. The kind of an entry is decided by the
// directory attribute alone; "." and ".." are reported as folders.
// folder_search_win32.cpp and folder_search_posix.cpp implement it; CMake
// picks one.
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "common/text.hpp"

namespace korvane {

enum class EntryKind { Folders, Files };

class FolderSearch {
 public:
  FolderSearch() noexcept;
  ~FolderSearch();
  FolderSearch(FolderSearch&&) noexcept;
  FolderSearch& operator=(FolderSearch&&) noexcept;
  FolderSearch(const FolderSearch&) = delete;
  FolderSearch& operator=(const FolderSearch&) = delete;

  // A non-empty pattern ("<folder>\*", Windows style) closes any held search
  // and starts a new one; an empty pattern continues the held search. Returns
  // the name of the next entry of the wanted kind, or an empty view when there
  // is none (the search is then closed). The view is valid until the next
  // call.
  [[nodiscard]] std::string_view FindEntry(const Text& pattern, EntryKind kind);

  // True when the entry last returned is a link (a reparse point, a symbolic
  // link): only such an entry can lead back to a folder being walked.
  [[nodiscard]] bool EntryIsLink() const noexcept;

  // Closes the held search, if any.
  void CloseFind() noexcept;

  [[nodiscard]] bool IsOpen() const noexcept;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Which folder a path leads to, links followed: the volume and the file index
// on Windows, the device and the inode on POSIX.
struct FolderIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  friend bool operator==(const FolderIdentity& a, const FolderIdentity& b) noexcept {
    return a.volume == b.volume && a.index == b.index;
  }
};

// The identity of the folder path (Windows style, may end in a backslash)
// leads to; none when it cannot be read.
[[nodiscard]] std::optional<FolderIdentity> IdentifyFolder(const Text& path);

}  // namespace korvane
