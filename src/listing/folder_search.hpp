#pragma once
// FolderSearch: the walk's reading of one folder. A folder is read once, all
// of it, and its entries are kept until the search reads another folder or
// is closed; the system's own search is closed again at once, so a deep walk
// holds no open search per level.
//
// Each entry comes with its name in the ANSI code page, converted as the
// system converts names for its ANSI functions (a character the code page
// cannot hold becomes "?"), and with its kind, decided by the directory
// attribute alone; "." and ".." are reported as folders. Entries keep the
// order in which the file system lists the folder.
//
// A search also knows where its folder lies in the platform's own terms (on
// Windows an absolute wide \\?\ path), and reaches a sub-folder through the
// sub-folder's own name, whatever its ANSI form lost: no name and no depth
// hides what lies beneath.
//
// folder_search_win32.cpp and folder_search_posix.cpp implement it; CMake
// picks one.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "common/text.hpp"

namespace korvane {

struct FolderEntry {
  std::string_view name;  // ANSI; valid until the search reads again or closes
  bool folder = false;    // the directory attribute (links to folders have it)
  bool link = false;      // a reparse point or symbolic link
};

// Which folder a path leads to, links followed: the volume and the file index
// on Windows, the device and the inode on POSIX.
struct FolderIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  friend bool operator==(const FolderIdentity& a, const FolderIdentity& b) noexcept {
    return a.volume == b.volume && a.index == b.index;
  }
  friend bool operator<(const FolderIdentity& a, const FolderIdentity& b) noexcept {
    return a.volume != b.volume ? a.volume < b.volume : a.index < b.index;
  }
};

class FolderSearch {
 public:
  FolderSearch() noexcept;
  ~FolderSearch();
  FolderSearch(FolderSearch&&) noexcept;
  FolderSearch& operator=(FolderSearch&&) noexcept;
  FolderSearch(const FolderSearch&) = delete;
  FolderSearch& operator=(const FolderSearch&) = delete;

  // Reads the start folder. path is the walk's text of it: it ends in a
  // backslash by its last byte, and the folder searched is the one the
  // pattern path + "\*" names (a doubled separator counts as one). widePath,
  // when not empty, is the same text in UTF-16 as the system handed it over
  // (a dropped folder), path being its ANSI form: the folder is reached
  // through it. The POSIX search ignores it. False, with no entries, when the
  // folder cannot be listed.
  [[nodiscard]] bool ReadStart(const Text& path, std::wstring_view widePath);

  // Reads the folder that entry index of parent names. separated tells
  // whether the walk's text of that folder has a backslash after the name
  // (it has unless the name's last byte is 0x5C): without one, the folder's
  // own entries are looked for where its text puts them, directly after the
  // name.
  [[nodiscard]] bool ReadChild(const FolderSearch& parent, std::size_t index, bool separated);

  [[nodiscard]] std::size_t Count() const noexcept;
  [[nodiscard]] FolderEntry Entry(std::size_t index) const noexcept;

  // The folder read, and the folder that entry index leads to (links
  // followed); none when it cannot be told.
  [[nodiscard]] std::optional<FolderIdentity> Identity() const;
  [[nodiscard]] std::optional<FolderIdentity> EntryIdentity(std::size_t index) const;

  // Forgets the entries.
  void Close() noexcept;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace korvane
