#pragma once
// What a window and a TreeView control show, read through their own messages.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace korvane::testing {

// The window text as bytes (code page 936), however long.
std::string WindowText(HWND window);

std::string ClassName(HWND window);

// The window's place in its parent's client area (for a top-level window: on
// the screen).
RECT PlaceInParent(HWND window);

HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT relation);

// The item's text as the control gives it in ANSI.
std::string ControlItemText(HWND tree, HTREEITEM item);

struct ControlLine {
  int depth;  // 0 for a top-level item
  std::string text;
};

// Every item of the control, depth first, each one expanded (TVM_EXPAND)
// before its children are read: they may only be put in when it expands.
std::vector<ControlLine> ExpandAndReadControl(HWND tree);

}  // namespace korvane::testing
