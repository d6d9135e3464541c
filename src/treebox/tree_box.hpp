#pragma once
// TreeBox: what the listing and the export need of the tree control. The
// in-memory model (portable) and the Win32 TreeView both implement it.
//
// ItemIndex: the 0-based position of an item in pre-order over all items,
// collapsed branches included.
#include "common/byte_buffer.hpp"
#include "common/text.hpp"

namespace korvane {

class TreeBox {
 public:
  virtual ~TreeBox() = default;

  // Replaces every item by the items of content (TreeItemRecords back to
  // back), then makes item 0 current. Raises no event while it works.
  virtual void WriteContent(const ByteBuffer& content) = 0;
  // Removes all items.
  virtual void Clear() = 0;

  // Number of items at all levels.
  virtual int ItemCount() const = 0;
  // Depth in the tree: 1 for a top-level item; 0 if no item has that index.
  virtual int IndentLevel(int index) const = 0;
  // The whole text; empty if no item has that index.
  virtual Text ItemText(int index) const = 0;
  // The parent's index; -1 for a top-level item or if no item has that index.
  virtual int ParentIndex(int index) const = 0;
  // Index of the selected item; -1 if none.
  virtual int CurrentItem() const = 0;
};

}  // namespace korvane
