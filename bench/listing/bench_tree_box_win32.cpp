#include "bench_tree_box.hpp"
#include "support/windowed_tree_box_win32.hpp"

namespace korvane::bench {

std::unique_ptr<TreeBox> MakeBenchTreeBox() { return std::make_unique<WindowedTreeBox>("bench_listing"); }

}  // namespace korvane::bench
