#include "treebox/tree_model.hpp"

namespace korvane {

void TreeModel::WriteContent(const ByteBuffer& content) { Load(ComputeInsertions(content)); }

void TreeModel::Clear() {
  // Give the memory back: a cleared box of a million items should not keep it.
  std::string().swap(texts_);
  std::vector<std::size_t>().swap(textStarts_);
  std::vector<Node>().swap(nodes_);
  std::vector<Extras>().swap(extras_);
  current_ = -1;
}

void TreeModel::Load(const std::vector<TreeInsertion>& insertions) {
  Clear();
  const std::size_t count = insertions.size();
  std::size_t textBytes = 0;
  bool anyExtras = false;
  for (const TreeInsertion& insertion : insertions) {
    textBytes += insertion.record.ItemText.size();
    anyExtras = anyExtras || insertion.record.Image != 0 || insertion.record.SelectedImage != 0 ||
                insertion.record.ItemData != 0;
  }
  texts_.reserve(textBytes);
  textStarts_.reserve(count + 1);
  nodes_.reserve(count);
  if (anyExtras) extras_.reserve(count);

  // open: the path from the top level to the item inserted last. An item's
  // parent lies on that path; the items below the parent end their subtrees
  // where the new item starts.
  std::vector<std::int32_t> open;
  textStarts_.push_back(0);
  for (std::size_t i = 0; i < count; ++i) {
    const TreeInsertion& insertion = insertions[i];
    const auto index = static_cast<std::int32_t>(i);
    while (!open.empty() && open.back() != insertion.parent) {
      nodes_[Slot(open.back())].subtreeEnd = index;
      open.pop_back();
    }
    // A parent off the path would break pre-order; ComputeInsertions never
    // gives one, and such an item is loaded as a top-level item rather than
    // corrupting the subtrees.
    const std::int32_t parent = open.empty() ? -1 : insertion.parent;
    const std::int32_t depth = parent < 0 ? 1 : nodes_[Slot(parent)].depth + 1;
    nodes_.push_back(Node{parent, depth, index + 1, insertion.record.Flags});
    texts_.append(insertion.record.ItemText);
    textStarts_.push_back(texts_.size());
    if (anyExtras) {
      extras_.push_back(Extras{insertion.record.Image, insertion.record.SelectedImage, insertion.record.ItemData});
    }
    open.push_back(index);
  }
  for (const std::int32_t index : open) nodes_[Slot(index)].subtreeEnd = static_cast<std::int32_t>(count);
  current_ = count > 0 ? 0 : -1;
}

std::string_view TreeModel::TextView(int index) const noexcept {
  if (!Has(index)) return {};
  const std::size_t begin = textStarts_[Slot(index)];
  return std::string_view(texts_).substr(begin, textStarts_[Slot(index) + 1] - begin);
}

std::size_t TreeModel::MemoryBytes() const noexcept {
  return texts_.capacity() + textStarts_.capacity() * sizeof(std::size_t) + nodes_.capacity() * sizeof(Node) +
         extras_.capacity() * sizeof(Extras);
}

}  // namespace korvane
