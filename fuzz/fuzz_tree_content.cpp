// Any bytes as a tree content: the decoder and the load rule must never read
// past the buffer, the parents the rule computes must be those of the rule
// read plainly (tests/reference), and the tree loaded from them must hold
// exactly those parents.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "reference/load_rule_reference.hpp"
#include "treebox/load_rule.hpp"
#include "treebox/tree_model.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so that AddressSanitizer catches a read one past the end.
  const korvane::ByteBuffer content(data, data + size);
  std::vector<std::int32_t> levels;
  korvane::TreeContentReader reader(content);
  korvane::TreeItemRecord record;
  while (reader.Next(record)) levels.push_back(record.IndentLevel);

  const std::vector<std::int32_t> parents = korvane::ComputeParents(content);
  if (parents != korvane::reference::LoadParents(levels)) std::abort();

  korvane::TreeModel tree;
  tree.WriteContent(content);
  const int count = tree.ItemCount();
  if (count != static_cast<int>(parents.size())) std::abort();
  if (tree.CurrentItem() != (count > 0 ? 0 : -1)) std::abort();
  const std::vector<int> depths = korvane::reference::Depths(parents);
  for (int i = 0; i < count; ++i) {
    if (tree.ParentIndex(i) != parents[static_cast<std::size_t>(i)]) std::abort();
    if (tree.IndentLevel(i) != depths[static_cast<std::size_t>(i)]) std::abort();
    if (tree.SubtreeEnd(i) <= i || tree.SubtreeEnd(i) > count) std::abort();
    (void)tree.ItemText(i);
  }
  if (tree.IndentLevel(count) != 0 || tree.ParentIndex(-1) != -1 || !tree.ItemText(count).empty()) std::abort();
  return 0;
}
