#include "win32/treebox/tree_view_walk_win32.hpp"

namespace korvane::treebox_walk {
namespace {

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

ShownItem Read(HWND tree, HTREEITEM handle, int depth) {
  char buffer[1024] = {};
  TVITEMA item{};
  item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
  item.hItem = handle;
  item.stateMask = TVIS_EXPANDED;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return ShownItem{item.lParam, item.pszText, depth, item.cChildren != 0, (item.state & TVIS_EXPANDED) != 0};
}

void Walk(HWND tree, HTREEITEM first, int depth, bool expand, std::vector<ShownItem>& out) {
  for (HTREEITEM item = first; item != nullptr; item = Next(tree, TVGN_NEXT, item)) {
    out.push_back(Read(tree, item, depth));
    if (expand && out.back().hasButton) {
      SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
      out.back().expanded = Read(tree, item, depth).expanded;
    }
    Walk(tree, Next(tree, TVGN_CHILD, item), depth + 1, expand, out);
  }
}

int DepthOf(HWND tree, HTREEITEM item) {
  int depth = 0;
  for (; item != nullptr; item = Next(tree, TVGN_PARENT, item)) ++depth;
  return depth;
}

}  // namespace

std::vector<ShownItem> WalkControl(HWND tree, bool expand) {
  std::vector<ShownItem> out;
  Walk(tree, Next(tree, TVGN_ROOT, nullptr), 1, expand, out);
  return out;
}

std::vector<ShownItem> VisibleItems(HWND tree) {
  std::vector<ShownItem> out;
  for (HTREEITEM item = Next(tree, TVGN_ROOT, nullptr); item != nullptr; item = Next(tree, TVGN_NEXTVISIBLE, item)) {
    out.push_back(Read(tree, item, DepthOf(tree, item)));
  }
  return out;
}

HTREEITEM FindVisible(HWND tree, LPARAM param) {
  for (HTREEITEM item = Next(tree, TVGN_ROOT, nullptr); item != nullptr; item = Next(tree, TVGN_NEXTVISIBLE, item)) {
    if (Read(tree, item, 0).param == param) return item;
  }
  return nullptr;
}

}  // namespace korvane::treebox_walk
