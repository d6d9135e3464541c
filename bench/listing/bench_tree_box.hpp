#pragma once
// The tree box the benchmark loads: the in-memory tree natively, the real
// TreeView (in a window of its own) under Wine.
#include <memory>

#include "treebox/tree_box.hpp"

namespace korvane::bench {

std::unique_ptr<TreeBox> MakeBenchTreeBox();

}  // namespace korvane::bench
