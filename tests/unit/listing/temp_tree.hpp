#pragma once
// A real folder tree in a temporary folder, removed again by the destructor.
// Paths given to the program use backslashes, as on Windows.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "common/text.hpp"

namespace korvane::testing {

namespace fs = std::filesystem;

// "/tmp/x/y" -> "\tmp\x\y".
inline Text ToWindowsStyle(const fs::path& path) {
  Text text = path.string();
  for (char& c : text) {
    if (c == '/') c = kBackslash;
  }
  return text;
}

class TempTree {
 public:
  TempTree() {
    std::string pattern = (fs::temp_directory_path() / "korvane-listing-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
  }
  ~TempTree() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const fs::path& Root() const { return root_; }
  Text RootText() const { return ToWindowsStyle(root_); }

  void Folder(const std::string& relative) const { fs::create_directories(root_ / relative); }
  void File(const std::string& relative, const std::string& content = "x") const {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary) << content;
  }
  // A symbolic link at relative leading to target (absolute, or relative to the link's folder).
  void Link(const std::string& relative, const fs::path& target) const { fs::create_symlink(target, root_ / relative); }

 private:
  fs::path root_;
};

// Runs the test with the current directory set to a folder, then restores it.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
  ~CurrentDirectory() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
  }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  fs::path previous_;
};

}  // namespace korvane::testing
