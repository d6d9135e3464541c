#pragma once
// The load rule read the plain way, for tests and fuzz targets to check the
// program's reading against: one call per run, a nested run a nested call.
// It recurses once per nesting level, so it is only for small contents.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvane::reference {

namespace detail {

// Reads the run that starts at levels[next] under parent, appending each
// inserted item's parent; leaves next at the record the run stopped at.
inline void ReadRun(const std::vector<std::int32_t>& levels, std::size_t& next, std::int32_t parent,
                    std::vector<std::int32_t>& parents) {
  bool levelSet = false;
  std::int32_t level = 0;
  std::int32_t lastInserted = -1;
  while (next < levels.size()) {
    const std::int32_t record = levels[next];
    if (!levelSet || record == level) {
      parents.push_back(parent);
      lastInserted = static_cast<std::int32_t>(parents.size() - 1);
      level = record;
      levelSet = true;
      ++next;
    } else if (record > level) {
      ReadRun(levels, next, lastInserted, parents);
    } else {
      return;
    }
  }
}

}  // namespace detail

// The parent of each loaded item (-1: top level) for records of these levels.
inline std::vector<std::int32_t> LoadParents(const std::vector<std::int32_t>& levels) {
  std::vector<std::int32_t> parents;
  std::size_t next = 0;
  detail::ReadRun(levels, next, -1, parents);
  return parents;
}

// The depth of each item (1 for the top level) from its parents.
inline std::vector<int> Depths(const std::vector<std::int32_t>& parents) {
  std::vector<int> depths;
  for (const std::int32_t parent : parents) depths.push_back(parent < 0 ? 1 : depths[parent] + 1);
  return depths;
}

}  // namespace korvane::reference
