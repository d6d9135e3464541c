#include "treebox/load_rule.hpp"

#include <limits>

namespace korvane {
namespace {

struct Run {
  std::int32_t parent;             // -1: the top level
  std::int32_t lastInserted = -1;  // -1 until the run's first item, which also sets its level
  std::int32_t level = 0;

  bool LevelSet() const noexcept { return lastInserted >= 0; }
};

}  // namespace

std::vector<std::int32_t> ComputeParents(const ByteBuffer& content) {
  std::vector<std::int32_t> parents;
  // An upper bound on the count; pages of it that are never written cost nothing.
  parents.reserve(content.size() / (kRecordFixedBytes + 1));
  std::vector<Run> runs{Run{-1}};
  TreeContentReader reader(content);
  TreeItemRecord record;
  // ItemIndex is an int: a content cannot hold more items than that (it
  // would need over forty gigabytes), but the count is guarded all the same.
  constexpr std::size_t kMaxItems = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  while (parents.size() < kMaxItems && reader.Next(record)) {
    const std::int32_t level = record.IndentLevel;
    // Runs that stop at this record; the load ends when the top-level run does.
    while (runs.back().LevelSet() && level < runs.back().level) {
      runs.pop_back();
      if (runs.empty()) return parents;
    }
    Run* run = &runs.back();
    if (run->LevelSet() && level > run->level) {
      runs.push_back(Run{run->lastInserted});
      run = &runs.back();
    }
    run->lastInserted = static_cast<std::int32_t>(parents.size());
    run->level = level;
    parents.push_back(run->parent);
  }
  return parents;
}

bool TreeInsertionReader::Next(TreeInsertion& insertion) noexcept {
  if (next_ >= parents_.size() || !records_.Next(insertion.record)) return false;
  insertion.parent = parents_[next_++];
  return true;
}

}  // namespace korvane
