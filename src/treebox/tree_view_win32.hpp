#pragma once
// TreeViewBox: the tree box on a Win32 TreeView control (WC_TREEVIEW).
//
// The whole tree lives in a TreeModel, which answers every read; the control
// only holds what the user can reach: the top-level items, the children of
// each branch from the moment it first expands, and the branches the content
// marks expanded. A branch not filled yet shows its expand button all the
// same (cChildren comes from the model) and gets its children when it
// expands. Each control item's lParam is its ItemIndex.
//
// Why: a TreeView's per-item messages may cost time in proportion to the
// number of items it holds (measured under Wine), so filling it with a
// million nested items, or walking them, grows with the square of the count.
// Even at the top level, under Wine each item costs some microseconds to
// insert, to draw again after the load and to remove; so texts are given to
// the control as plain strings rather than on request (LPSTR_TEXTCALLBACK),
// which cost one more notification per item.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "common/unique_handles_win32.hpp"
#include "treebox/tree_box.hpp"
#include "treebox/tree_model.hpp"

namespace korvane {

class TreeViewBox final : public TreeBox {
 public:
  // Creates the WC_TREEVIEW control as a child of parent.
  TreeViewBox(HWND parent, int controlId, const RECT& place, DWORD style, DWORD exStyle);
  ~TreeViewBox() override;
  TreeViewBox(const TreeViewBox&) = delete;
  TreeViewBox& operator=(const TreeViewBox&) = delete;

  // The control; null if it could not be created (the box then still
  // holds and reads its items, but shows nothing).
  HWND Control() const;
  // The parent forwards WM_NOTIFY coming from the control; true when handled (result set).
  bool OnNotify(const NMHDR& header, LRESULT& result);
  // Raised after the selected item changed (cause 0 keyboard, 1 mouse, 2 other), never during WriteContent.
  void SetCurrentItemChanged(std::function<void(int cause)> handler);

  // TreeBox
  void WriteContent(const ByteBuffer& content) override;
  void Clear() override;
  int ItemCount() const override;
  int IndentLevel(int index) const override;
  Text ItemText(int index) const override;
  int ParentIndex(int index) const override;
  int CurrentItem() const override;

 private:
  // Puts the children of the item at index into the control under handle.
  // Returns the children's handles through handles (indexed by ItemIndex)
  // when it is given.
  void FillBranch(int index, HTREEITEM handle, std::vector<HTREEITEM>* handles);
  HTREEITEM InsertItem(int index, HTREEITEM parent);
  // Expands the branches the content marks, in content order. handles holds
  // the top-level items' handles and receives those of the items it inserts.
  void ExpandMarkedBranches(std::vector<HTREEITEM>& handles);
  void RemoveAllItems();
  void OnSelectionChanged(const NMTREEVIEWA& change);
  void OnItemExpanding(const NMTREEVIEWA& change);

  TreeModel model_;
  std::function<void(int cause)> currentItemChanged_;
  bool quiet_ = false;      // the box itself is changing the control: no event
  bool redrawOff_ = false;  // drawing is off for a bulk change
  std::string insertText_;  // the text of the item being inserted, zero-terminated
  // Last, so that the control goes first: while it is destroyed it may still
  // ask for texts.
  UniqueWindow control_;
};

}  // namespace korvane
