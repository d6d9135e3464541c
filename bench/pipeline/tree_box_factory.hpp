#pragma once
// The tree box the pipeline benchmark loads: the real control under Windows,
// the in-memory tree elsewhere.
#include <cstddef>
#include <memory>

#include "treebox/tree_box.hpp"

namespace korvane::bench {

std::unique_ptr<TreeBox> MakeTreeBox();
// Bytes the tree box holds, or 0 when it cannot tell.
std::size_t TreeBoxMemoryBytes(const TreeBox& tree);

}  // namespace korvane::bench
