// Any bytes as a tree content: the decoder and the load rule must never read
// past the buffer, and the loaded tree must be well formed.
#include <cstdint>
#include <cstdlib>

#include "treebox/load_rule.hpp"
#include "treebox/tree_model.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so that AddressSanitizer catches a read one past the end.
  const korvane::ByteBuffer content(data, data + size);
  korvane::TreeModel tree;
  tree.WriteContent(content);
  const int count = tree.ItemCount();
  if (count != static_cast<int>(korvane::ComputeParents(content).size())) std::abort();
  if (tree.CurrentItem() != (count > 0 ? 0 : -1)) std::abort();
  for (int i = 0; i < count; ++i) {
    const int parent = tree.ParentIndex(i);
    // Pre-order: a parent comes before its children, and a child is one level deeper.
    if (parent >= i) std::abort();
    const int expectedLevel = parent < 0 ? 1 : tree.IndentLevel(parent) + 1;
    if (tree.IndentLevel(i) != expectedLevel) std::abort();
    if (tree.SubtreeEnd(i) <= i || tree.SubtreeEnd(i) > count) std::abort();
    (void)tree.ItemText(i);
  }
  if (tree.IndentLevel(count) != 0 || tree.ParentIndex(-1) != -1 || !tree.ItemText(count).empty()) std::abort();
  return 0;
}
