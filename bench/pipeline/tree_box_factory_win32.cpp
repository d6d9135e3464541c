#include "support/windowed_tree_box_win32.hpp"
#include "tree_box_factory.hpp"

namespace korvane::bench {

std::unique_ptr<TreeBox> MakeTreeBox() { return std::make_unique<WindowedTreeBox>("bench"); }

std::size_t TreeBoxMemoryBytes(const TreeBox&) { return 0; }

}  // namespace korvane::bench
