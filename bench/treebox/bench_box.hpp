#pragma once
// What differs between the native and the Wine build of the tree box
// benchmark: the box under test and the peers only a real control has.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "bench_content.hpp"
#include "treebox/tree_box.hpp"

namespace korvane::bench {

// The tree box to measure: the in-memory tree natively, the TreeView box in a
// window of its own on Windows.
std::unique_ptr<TreeBox> MakeBenchBox();
const char* BenchBoxName();
// Bytes the box holds for its items beyond the control's own; 0 when unknown.
std::size_t BenchBoxMemoryBytes(const TreeBox& box);

// One measured peer: a name and seconds per item.
struct PeerTime {
  std::string name;
  double secondsPerItem;
};

// The control's own costs for comparison, measured with the same names and
// levels; none natively.
std::vector<PeerTime> MeasureControlPeers(const Names& names, const std::vector<std::int32_t>& levels);

}  // namespace korvane::bench
