#pragma once
// TreeModel: the tree box held in memory. All items of all levels are kept in
// pre-order; every read is O(1). The texts lie back to back in one block, and
// each item costs 24 bytes besides its text, so a million items stay cheap.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "treebox/load_rule.hpp"
#include "treebox/tree_box.hpp"

namespace korvane {

class TreeModel final : public TreeBox {
 public:
  // TreeBox
  void WriteContent(const ByteBuffer& content) override;
  void Clear() override;
  int ItemCount() const override { return static_cast<int>(nodes_.size()); }
  int IndentLevel(int index) const override { return Has(index) ? nodes_[Slot(index)].depth : 0; }
  Text ItemText(int index) const override { return Text(TextView(index)); }
  int ParentIndex(int index) const override { return Has(index) ? nodes_[Slot(index)].parent : -1; }
  int CurrentItem() const override { return current_; }

  // Replaces every item by the content's items placed under the parents
  // that ComputeParents gave for it, and makes item 0 current.
  void Load(const ByteBuffer& content, const std::vector<std::int32_t>& parents);

  // The selected item; -1 for none. Indexes without an item count as none.
  void SetCurrentItem(int index) noexcept { current_ = Has(index) ? index : -1; }

  bool Has(int index) const noexcept { return index >= 0 && static_cast<std::size_t>(index) < nodes_.size(); }
  // The item's text without a copy; valid until the next write or clear.
  std::string_view TextView(int index) const noexcept;
  // One past the item's last descendant: its descendants are index+1 up to here.
  int SubtreeEnd(int index) const noexcept { return Has(index) ? nodes_[Slot(index)].subtreeEnd : index; }
  bool HasChildren(int index) const noexcept { return SubtreeEnd(index) > index + 1; }
  // The record's Flags (bold, expanded, state picture); 0 if no item has that index.
  std::int32_t Flags(int index) const noexcept { return Has(index) ? nodes_[Slot(index)].flags : 0; }
  // The record's Image, SelectedImage and ItemData; 0 if no item has that index.
  std::int32_t Image(int index) const noexcept { return Extra(index).image; }
  std::int32_t SelectedImage(int index) const noexcept { return Extra(index).selectedImage; }
  std::int32_t ItemData(int index) const noexcept { return Extra(index).itemData; }

  // Bytes held, for the memory figures of the benchmarks.
  std::size_t MemoryBytes() const noexcept;

 private:
  struct Node {
    std::int32_t parent;
    std::int32_t depth;
    std::int32_t subtreeEnd;
    std::int32_t flags;
  };
  // The program writes these as 0; they get storage only when some record
  // holds another value.
  struct Extras {
    std::int32_t image = 0;
    std::int32_t selectedImage = 0;
    std::int32_t itemData = 0;
  };

  static std::size_t Slot(int index) noexcept { return static_cast<std::size_t>(index); }
  Extras Extra(int index) const noexcept { return Has(index) && !extras_.empty() ? extras_[Slot(index)] : Extras{}; }

  std::string texts_;                    // every item's text, back to back
  std::vector<std::size_t> textStarts_;  // item i's text: [textStarts_[i], textStarts_[i + 1])
  std::vector<Node> nodes_;
  std::vector<Extras> extras_;  // empty, or one per item
  int current_ = -1;
};

}  // namespace korvane
