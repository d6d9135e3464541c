#include "treebox/tree_model.hpp"

#include <algorithm>

namespace korvane {

void TreeModel::WriteContent(const ByteBuffer& content) { Load(content, ComputeParents(content)); }

void TreeModel::Clear() {
  // Give the memory back: a cleared box of a million items should not keep it.
  std::string().swap(texts_);
  std::vector<std::size_t>().swap(textStarts_);
  std::vector<Node>().swap(nodes_);
  std::vector<Extras>().swap(extras_);
  current_ = -1;
}

void TreeModel::Load(const ByteBuffer& content, const std::vector<std::int32_t>& parents) {
  Clear();
  const std::size_t count = parents.size();
  // Every record loaded has 21 bytes besides its text, and the records not
  // loaded at least as many each, so this is the texts' size when the whole
  // content loads, and more than it otherwise.
  texts_.reserve(content.size() - std::min(content.size(), count * (kRecordFixedBytes + 1)));
  textStarts_.reserve(count + 1);
  nodes_.reserve(count);

  textStarts_.push_back(0);
  TreeInsertionReader reader(content, parents);
  TreeInsertion insertion;
  while (reader.Next(insertion)) {
    const auto index = static_cast<std::int32_t>(nodes_.size());
    // The rule puts each parent before its child; anything else would break
    // pre-order and is taken as the top level instead.
    const std::int32_t parent = insertion.parent >= 0 && insertion.parent < index ? insertion.parent : -1;
    const std::int32_t depth = parent < 0 ? 1 : nodes_[Slot(parent)].depth + 1;
    nodes_.push_back(Node{parent, depth, index + 1, insertion.record.Flags});
    texts_.append(insertion.record.ItemText);
    textStarts_.push_back(texts_.size());
    const TreeItemRecord& record = insertion.record;
    if (record.Image != 0 || record.SelectedImage != 0 || record.ItemData != 0) {
      if (extras_.empty()) extras_.resize(count);
      extras_[Slot(index)] = Extras{record.Image, record.SelectedImage, record.ItemData};
    }
  }
  // Each subtree ends where its last descendant's does; children come after
  // their parents, so one backward pass settles every item.
  for (std::size_t i = nodes_.size(); i-- > 0;) {
    const std::int32_t parent = nodes_[i].parent;
    if (parent >= 0 && nodes_[Slot(parent)].subtreeEnd < nodes_[i].subtreeEnd) {
      nodes_[Slot(parent)].subtreeEnd = nodes_[i].subtreeEnd;
    }
  }
  current_ = nodes_.empty() ? -1 : 0;
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
