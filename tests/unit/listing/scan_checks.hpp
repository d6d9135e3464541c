#pragma once
// Independent views of a scanned tree for the tests: the tree walked again
// through std::filesystem, and the order rules of the scan checked on any
// list of entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/path_list.hpp"
#include "common/text.hpp"
#include "temp_tree.hpp"

namespace korvane::testing {

inline std::vector<Text> Entries(const PathList& paths, std::size_t from = 0) {
  std::vector<Text> entries;
  for (std::size_t i = from; i < paths.Count(); ++i) entries.emplace_back(paths.At(i));
  return entries;
}

// The expected scan of a link-free tree: each folder read once through
// std::filesystem (readdir order, as the scan sees it), its sub-folders each
// followed by their contents, then its files.
inline void WalkLikeScan(const fs::path& folder, const Text& prefix, std::vector<Text>& out) {
  std::vector<fs::directory_entry> entries;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) entries.push_back(entry);
  for (const fs::directory_entry& entry : entries) {
    if (!entry.is_directory()) continue;
    const Text path = prefix + entry.path().filename().string();
    out.push_back(path);
    WalkLikeScan(entry.path(), path + "\\", out);
  }
  for (const fs::directory_entry& entry : entries) {
    if (!entry.is_directory()) out.push_back(prefix + entry.path().filename().string());
  }
}

inline Text Parent(const Text& entry) { return entry.substr(0, entry.rfind('\\')); }

// Checks, for entries scanned from start (ending in a backslash): no entry
// twice; each entry directly under start or under an earlier entry; the
// entries beneath a folder follow it without a gap; and inside each folder no
// folder comes after a file. isFolder tells folders from files.
template <typename IsFolder>
void ExpectScanOrder(const std::vector<Text>& entries, const Text& start, IsFolder isFolder) {
  std::set<Text> seen;
  std::map<Text, bool> fileSeen;  // per parent: a file has come
  std::vector<Text> open;         // the chain of folders whose contents are running
  const Text top = start.substr(0, start.size() - 1);
  for (const Text& entry : entries) {
    EXPECT_TRUE(seen.insert(entry).second) << "twice: " << entry;
    const Text parent = Parent(entry);
    while (!open.empty() && open.back() != parent) open.pop_back();
    if (open.empty()) {
      EXPECT_EQ(parent, top) << "out of place: " << entry;
    }
    const bool folder = isFolder(entry);
    if (folder) {
      EXPECT_FALSE(fileSeen[parent]) << "folder after a file: " << entry;
      open.push_back(entry);
    } else {
      fileSeen[parent] = true;
    }
  }
}

inline bool IsFolderOnDisk(const Text& entry) {
  std::string posix = entry;
  for (char& c : posix) {
    if (c == '\\') c = '/';
  }
  return fs::is_directory(posix);
}

}  // namespace korvane::testing
