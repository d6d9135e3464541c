#include "treebox/tree_view_win32.hpp"

#include <utility>

namespace korvane {
namespace {

int CauseOf(UINT action) noexcept {
  switch (action) {
    case TVC_BYKEYBOARD:
      return 0;
    case TVC_BYMOUSE:
      return 1;
    default:
      return 2;
  }
}

// Turns the control's drawing off for a bulk change and back on afterwards.
// Nested guards leave it to the outermost one: turning drawing back on makes
// the control lay out every item it holds, which is not cheap (under Wine
// some microseconds per item).
class RedrawOff {
 public:
  RedrawOff(HWND control, bool& off) noexcept : control_(off ? nullptr : control), off_(off) {
    if (control_ == nullptr) return;
    off_ = true;
    SendMessageA(control_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawOff() {
    if (control_ == nullptr) return;
    off_ = false;
    SendMessageA(control_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(control_, nullptr, TRUE);
  }
  RedrawOff(const RedrawOff&) = delete;
  RedrawOff& operator=(const RedrawOff&) = delete;

 private:
  HWND control_;  // null: nothing to do
  bool& off_;
};

// Sets a flag for the lifetime of the guard.
class QuietScope {
 public:
  explicit QuietScope(bool& flag) noexcept : flag_(flag), old_(std::exchange(flag, true)) {}
  ~QuietScope() { flag_ = old_; }
  QuietScope(const QuietScope&) = delete;
  QuietScope& operator=(const QuietScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

}  // namespace

TreeViewBox::TreeViewBox(HWND parent, int controlId, const RECT& place, DWORD style, DWORD exStyle) {
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&classes);
  control_.reset(CreateWindowExA(exStyle, WC_TREEVIEWA, "", style | WS_CHILD, place.left, place.top,
                                 place.right - place.left, place.bottom - place.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleA(nullptr),
                                 nullptr));
  // ANSI notifications, whatever kind of window the parent is; both kinds
  // are understood all the same.
  if (control_) SendMessageA(control_.get(), TVM_SETUNICODEFORMAT, FALSE, 0);
}

TreeViewBox::~TreeViewBox() { quiet_ = true; }

HWND TreeViewBox::Control() const { return control_.get(); }

void TreeViewBox::SetCurrentItemChanged(std::function<void(int cause)> handler) {
  currentItemChanged_ = std::move(handler);
}

void TreeViewBox::WriteContent(const ByteBuffer& content) {
  QuietScope quiet(quiet_);
  RedrawOff redrawOff(control_.get(), redrawOff_);
  RemoveAllItems();
  model_.WriteContent(content);
  const int count = model_.ItemCount();
  if (!control_ || count == 0) return;

  bool anyExpanded = false;
  for (int i = 0; i < count && !anyExpanded; ++i) anyExpanded = IsExpanded(model_.Flags(i));
  // Handles by ItemIndex are needed only to reach the branches to expand.
  std::vector<HTREEITEM> handles;
  if (anyExpanded) handles.assign(static_cast<std::size_t>(count), nullptr);

  HTREEITEM first = nullptr;
  for (int i = 0; i < count; i = model_.SubtreeEnd(i)) {
    const HTREEITEM handle = InsertItem(i, TVI_ROOT);
    if (i == 0) first = handle;
    if (anyExpanded) handles[static_cast<std::size_t>(i)] = handle;
  }
  if (anyExpanded) ExpandMarkedBranches(handles);
  SendMessageA(control_.get(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
}

void TreeViewBox::Clear() {
  QuietScope quiet(quiet_);
  RedrawOff redrawOff(control_.get(), redrawOff_);
  RemoveAllItems();
  model_.Clear();
}

int TreeViewBox::ItemCount() const { return model_.ItemCount(); }
int TreeViewBox::IndentLevel(int index) const { return model_.IndentLevel(index); }
Text TreeViewBox::ItemText(int index) const { return model_.ItemText(index); }
int TreeViewBox::ParentIndex(int index) const { return model_.ParentIndex(index); }

int TreeViewBox::CurrentItem() const {
  if (!control_) return model_.CurrentItem();
  const auto caret = reinterpret_cast<HTREEITEM>(SendMessageA(control_.get(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (caret == nullptr) return -1;
  TVITEMA item{};
  item.mask = TVIF_HANDLE | TVIF_PARAM;
  item.hItem = caret;
  if (!SendMessageA(control_.get(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  const auto index = static_cast<int>(item.lParam);
  return model_.Has(index) ? index : -1;
}

bool TreeViewBox::OnNotify(const NMHDR& header, LRESULT& result) {
  if (!control_ || header.hwndFrom != control_.get()) return false;
  // The A and W forms of NMTREEVIEW have the same layout; only the text
  // pointers differ in type, and those are not used here.
  switch (header.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      OnSelectionChanged(reinterpret_cast<const NMTREEVIEWA&>(header));
      result = 0;
      return true;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
      OnItemExpanding(reinterpret_cast<const NMTREEVIEWA&>(header));
      result = FALSE;  // let it expand
      return true;
    default:
      return false;
  }
}

void TreeViewBox::OnSelectionChanged(const NMTREEVIEWA& change) {
  if (quiet_ || !currentItemChanged_) return;
  currentItemChanged_(CauseOf(change.action));
}

void TreeViewBox::OnItemExpanding(const NMTREEVIEWA& change) {
  if ((change.action & TVE_EXPAND) == 0) return;
  const auto index = static_cast<int>(change.itemNew.lParam);
  if (!model_.Has(index)) return;
  // Children are put in on the first expansion; asking the control (rather
  // than remembering) also refills a branch that a TVE_COLLAPSERESET emptied.
  const HTREEITEM handle = change.itemNew.hItem;
  if (SendMessageA(control_.get(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(handle)) == 0) {
    FillBranch(index, handle, nullptr);
  }
}

HTREEITEM TreeViewBox::InsertItem(int index, HTREEITEM parent) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  TVITEMA& item = insert.item;
  item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  insertText_.assign(model_.TextView(index));
  item.pszText = insertText_.data();
  item.lParam = index;
  item.cChildren = model_.HasChildren(index) ? 1 : 0;
  const std::int32_t flags = model_.Flags(index);
  if (IsBold(flags) || StateImage(flags) != 0) {
    item.mask |= TVIF_STATE;
    item.state = (IsBold(flags) ? TVIS_BOLD : 0u) | INDEXTOSTATEIMAGEMASK(static_cast<UINT>(StateImage(flags)));
    item.stateMask = TVIS_BOLD | TVIS_STATEIMAGEMASK;
  }
  if (model_.Image(index) != 0 || model_.SelectedImage(index) != 0) {
    item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.iImage = model_.Image(index);
    item.iSelectedImage = model_.SelectedImage(index);
  }
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(control_.get(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TreeViewBox::FillBranch(int index, HTREEITEM handle, std::vector<HTREEITEM>* handles) {
  if (handle == nullptr) return;
  const int end = model_.SubtreeEnd(index);
  // A few children go in with drawing on; for many, one layout of the whole
  // control afterwards is cheaper than updating it on every insert.
  constexpr int kManyChildren = 256;
  RedrawOff redrawOff(end - index > kManyChildren ? control_.get() : nullptr, redrawOff_);
  for (int child = index + 1; child < end; child = model_.SubtreeEnd(child)) {
    const HTREEITEM inserted = InsertItem(child, handle);
    if (handles != nullptr) (*handles)[static_cast<std::size_t>(child)] = inserted;
  }
}

void TreeViewBox::ExpandMarkedBranches(std::vector<HTREEITEM>& handles) {
  std::vector<int> path;
  const int count = model_.ItemCount();
  std::vector<bool> filled(static_cast<std::size_t>(count), false);
  const auto fill = [&](int index) {
    if (filled[static_cast<std::size_t>(index)]) return;
    filled[static_cast<std::size_t>(index)] = true;
    FillBranch(index, handles[static_cast<std::size_t>(index)], &handles);
  };
  for (int i = 0; i < count; ++i) {
    if (!IsExpanded(model_.Flags(i)) || !model_.HasChildren(i)) continue;
    // The item's handle exists once its parent is filled; fill the
    // ancestors not yet filled, from the top down. Each branch is filled
    // once, so this stays linear however deep the tree.
    path.clear();
    for (int up = model_.ParentIndex(i); up >= 0 && !filled[static_cast<std::size_t>(up)];
         up = model_.ParentIndex(up)) {
      path.push_back(up);
    }
    for (auto it = path.rbegin(); it != path.rend(); ++it) fill(*it);
    fill(i);
    SendMessageA(control_.get(), TVM_EXPAND, TVE_EXPAND,
                 reinterpret_cast<LPARAM>(handles[static_cast<std::size_t>(i)]));
  }
}

void TreeViewBox::RemoveAllItems() {
  if (control_) SendMessageA(control_.get(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

}  // namespace korvane
