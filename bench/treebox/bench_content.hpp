#pragma once
// Contents for the tree box benchmarks, shaped like folder listings: the
// first record at level 3 (entries of a folder one step below a drive), names
// of 6 to 20 bytes, some of them Chinese. The same seed gives the same content.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/byte_buffer.hpp"
#include "treebox/tree_content.hpp"

namespace korvane::bench {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  // A value in [0, bound).
  std::uint32_t Below(std::uint32_t bound) {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>((state_ >> 33) % bound);
  }

 private:
  std::uint64_t state_;
};

// The levels of a folder tree of about count items: every folder holds 5 to
// 44 files and, above the deepest folders, four sub-folders, listed before
// its files. The dropped folder itself holds as many sub-folders as the size
// needs (eight or more), so the top level has a few dozen entries.
inline std::vector<std::int32_t> FolderTreeLevels(int count, std::uint64_t seed) {
  constexpr std::int32_t kTop = 3;
  constexpr std::uint32_t kFanOut = 4;
  constexpr double kFolderItems = 1 + 24.5;  // a folder and its files, on average
  // The height of the sub-folders' trees: the tallest that gives eight of
  // them room in count items.
  int height = 0;
  for (double size = kFolderItems; size * kFanOut + kFolderItems <= count / 8.0; size = size * kFanOut + kFolderItems) {
    ++height;
  }
  double subtree = kFolderItems;
  for (int i = 0; i < height; ++i) subtree = subtree * kFanOut + kFolderItems;
  const auto rootFolders = static_cast<std::uint32_t>(count / subtree) + 1;

  Random random(seed);
  std::vector<std::int32_t> levels;
  levels.reserve(static_cast<std::size_t>(count));
  struct Folder {
    std::uint32_t foldersLeft;
    std::uint32_t filesLeft;
  };
  // Folders at depth 1 get height levels of sub-folders beneath them.
  const auto open = [&](int depth) { return Folder{depth <= height ? kFanOut : 0u, 5 + random.Below(40)}; };
  std::vector<Folder> stack{Folder{rootFolders, 5 + random.Below(40)}};  // the dropped folder
  while (static_cast<int>(levels.size()) < count && !stack.empty()) {
    Folder& folder = stack.back();
    const std::int32_t level = kTop + static_cast<std::int32_t>(stack.size()) - 1;
    if (folder.foldersLeft > 0) {
      --folder.foldersLeft;
      levels.push_back(level);
      stack.push_back(open(static_cast<int>(stack.size())));
    } else if (folder.filesLeft > 0) {
      --folder.filesLeft;
      levels.push_back(level);
    } else {
      stack.pop_back();
    }
  }
  return levels;
}

// The levels of a wide listing: many entries at the top and random nesting
// below, the hard case for a control that must hold every top-level item.
// After an item the next may go one deeper (it was a folder), stay, or climb
// back some levels.
inline std::vector<std::int32_t> WideLevels(int count, std::uint64_t seed) {
  constexpr std::int32_t kTop = 3;
  constexpr std::int32_t kDeepest = kTop + 14;
  Random random(seed);
  std::vector<std::int32_t> levels;
  levels.reserve(static_cast<std::size_t>(count));
  std::int32_t level = kTop;
  for (int i = 0; i < count; ++i) {
    levels.push_back(level);
    const std::uint32_t roll = random.Below(100);
    if (roll < 8 && level < kDeepest) {
      ++level;
    } else if (roll >= 96 && level > kTop) {
      level -= static_cast<std::int32_t>(1 + random.Below(static_cast<std::uint32_t>(level - kTop)));
    }
  }
  return levels;
}

// The names, one per level, back to back with their lengths.
struct Names {
  std::string bytes;
  std::vector<std::uint32_t> ends;
  std::string_view At(std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : ends[i - 1];
    return std::string_view(bytes).substr(begin, ends[i] - begin);
  }
};

inline Names ListingNames(std::size_t count, std::uint64_t seed) {
  static const char* const kStems[] = {"report", "资料", "photo_", "新建文件夹", "src", "表格", "notes", "build"};
  static const char* const kEndings[] = {".txt", ".jpg", "", ".docx", ".cpp", ".xls", "", ".dll"};
  Random random(seed);
  Names names;
  names.ends.reserve(count);
  char number[16];
  for (std::size_t i = 0; i < count; ++i) {
    names.bytes += kStems[random.Below(8)];
    std::snprintf(number, sizeof number, "%u", static_cast<unsigned>(random.Below(100000)));
    names.bytes += number;
    names.bytes += kEndings[random.Below(8)];
    names.ends.push_back(static_cast<std::uint32_t>(names.bytes.size()));
  }
  return names;
}

// The content the listing would write for these names and levels.
inline ByteBuffer BuildContent(const Names& names, const std::vector<std::int32_t>& levels) {
  ByteBuffer content;
  for (std::size_t i = 0; i < levels.size(); ++i) {
    TreeItemRecord record;
    record.ItemText = names.At(i);
    record.IndentLevel = levels[i];
    AppendRecord(content, record);
  }
  return content;
}

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace korvane::bench
