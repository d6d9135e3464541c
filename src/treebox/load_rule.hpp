#pragma once
// The load rule: how the records of a content become a tree.
//
// Records are read in runs. A run has a parent (none for the top-level run)
// and a level that is unset when the run starts. For each record with level L:
//  - level unset or equal to L: the item becomes the parent's last child and
//    the run's level becomes L;
//  - L greater: a nested run starts with this record, under the item the run
//    inserted last; when that run stops, this run goes on with the record at
//    which it stopped;
//  - L smaller: the run stops at this record, which stays unread. When the
//    top-level run stops, the load ends and the rest of the content is ignored.
// Every run stops at the end of the content.
//
// Each item is inserted as the last child of an item on the path to the item
// inserted just before it, so each lands at the end of pre-order, and the
// items loaded are the content's first records: item i (its ItemIndex) is
// record i. The rule's whole result is therefore one parent per item.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/byte_buffer.hpp"
#include "treebox/tree_content.hpp"

namespace korvane {

// The parent's ItemIndex for each item to insert, in order; -1 for a
// top-level item. Runs are kept on a heap stack, not the call stack, so any
// nesting depth is safe. A damaged content is loaded up to its damaged record
// (see TreeContentReader).
std::vector<std::int32_t> ComputeParents(const ByteBuffer& content);

// One step of a load: insert record as the last child of parent.
struct TreeInsertion {
  TreeItemRecord record;     // its text points into the content
  std::int32_t parent = -1;  // ItemIndex of the parent; -1 for a top-level item
};

// The insertions of a content in order, from the content and its parents.
class TreeInsertionReader {
 public:
  TreeInsertionReader(const ByteBuffer& content, const std::vector<std::int32_t>& parents) noexcept
      : records_(content), parents_(parents) {}

  [[nodiscard]] bool Next(TreeInsertion& insertion) noexcept;

 private:
  TreeContentReader records_;
  const std::vector<std::int32_t>& parents_;
  std::size_t next_ = 0;
};

}  // namespace korvane
