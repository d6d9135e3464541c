#include "tree_box_factory.hpp"
#include "treebox/tree_model.hpp"

namespace korvane::bench {

std::unique_ptr<TreeBox> MakeTreeBox() { return std::make_unique<TreeModel>(); }

std::size_t TreeBoxMemoryBytes(const TreeBox& tree) { return static_cast<const TreeModel&>(tree).MemoryBytes(); }

}  // namespace korvane::bench
