#include "treebox/load_rule.hpp"

#include <limits>

namespace korvane {
namespace {

struct Run {
  std::int32_t parent;             // -1: the top level
  std::int32_t lastInserted = -1;  // set together with the level
  std::int32_t level = 0;
  bool levelSet = false;
};

}  // namespace

std::vector<TreeInsertion> ComputeInsertions(const ByteBuffer& content) {
  std::vector<TreeInsertion> insertions;
  std::vector<Run> runs{Run{-1}};
  TreeContentReader reader(content);
  TreeItemRecord record;
  // ItemIndex is an int: a content cannot hold more items than that (it
  // would need over forty gigabytes), but the count is guarded all the same.
  constexpr std::size_t kMaxItems = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  while (insertions.size() < kMaxItems && reader.Next(record)) {
    const std::int32_t level = record.IndentLevel;
    // Runs that stop at this record; the load ends when the top-level run does.
    while (runs.back().levelSet && level < runs.back().level) {
      runs.pop_back();
      if (runs.empty()) return insertions;
    }
    Run* run = &runs.back();
    if (run->levelSet && level > run->level) {
      runs.push_back(Run{run->lastInserted});
      run = &runs.back();
    }
    const auto index = static_cast<std::int32_t>(insertions.size());
    insertions.push_back(TreeInsertion{record, run->parent});
    run->lastInserted = index;
    run->level = level;
    run->levelSet = true;
  }
  return insertions;
}

}  // namespace korvane
