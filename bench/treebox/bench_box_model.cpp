#include "bench_box.hpp"
#include "treebox/tree_model.hpp"

namespace korvane::bench {

std::unique_ptr<TreeBox> MakeBenchBox() { return std::make_unique<TreeModel>(); }
const char* BenchBoxName() { return "in-memory tree (TreeModel)"; }
std::size_t BenchBoxMemoryBytes(const TreeBox& box) { return static_cast<const TreeModel&>(box).MemoryBytes(); }

std::vector<PeerTime> MeasureControlPeers(const Names&, const std::vector<std::int32_t>&) { return {}; }

}  // namespace korvane::bench
