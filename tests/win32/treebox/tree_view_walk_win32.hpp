#pragma once
// What a TreeView control itself shows, read through its own messages.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace korvane::treebox_walk {

struct ShownItem {
  LPARAM param;
  std::string text;  // as the control gives it in ANSI
  int depth;         // 1 for a top-level item
  bool hasButton;    // cChildren says there are children
  bool expanded;     // TVIS_EXPANDED
};

// Every item of the control in pre-order; with expand, each item that shows a
// button is expanded (TVM_EXPAND) before its children are read.
std::vector<ShownItem> WalkControl(HWND tree, bool expand);

// The items one can see: from the first one down, TVGN_NEXTVISIBLE.
std::vector<ShownItem> VisibleItems(HWND tree);

// The control's handle of the visible item with this lParam; null if none.
HTREEITEM FindVisible(HWND tree, LPARAM param);

}  // namespace korvane::treebox_walk
