#include "bench_tree_box.hpp"
#include "treebox/tree_model.hpp"

namespace korvane::bench {

std::unique_ptr<TreeBox> MakeBenchTreeBox() { return std::make_unique<TreeModel>(); }

}  // namespace korvane::bench
