#include "win32/support/window_read_win32.hpp"

namespace korvane::testing {

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

RECT PlaceInParent(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  const HWND parent = GetParent(window);
  if (parent != nullptr && (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::string ControlItemText(HWND tree, HTREEITEM item) {
  char text[1024] = {};
  TVITEMA data = {};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = item;
  data.pszText = text;
  data.cchTextMax = sizeof text;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  return text;
}

namespace {

void ExpandAndRead(HWND tree, HTREEITEM first, int depth, std::vector<ControlLine>& lines) {
  for (HTREEITEM item = first; item != nullptr; item = NextItem(tree, item, TVGN_NEXT)) {
    lines.push_back({depth, ControlItemText(tree, item)});
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    ExpandAndRead(tree, NextItem(tree, item, TVGN_CHILD), depth + 1, lines);
  }
}

}  // namespace

std::vector<ControlLine> ExpandAndReadControl(HWND tree) {
  std::vector<ControlLine> lines;
  ExpandAndRead(tree, NextItem(tree, nullptr, TVGN_ROOT), 0, lines);
  return lines;
}

}  // namespace korvane::testing
