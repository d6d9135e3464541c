#include <windows.h>
#include <commctrl.h>

#include "tree_box_factory.hpp"
#include "treebox/tree_view_win32.hpp"

namespace korvane::bench {

namespace {

// A tree box needs a parent window; the box and its parent live as long as the benchmark.
class WindowedTreeBox {
 public:
  WindowedTreeBox() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    parent_ = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    const RECT place{7, 8, 567, 368};
    box_ = std::make_unique<TreeViewBox>(parent_, 1, place,
                                         WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                                         WS_EX_CLIENTEDGE);
  }
  std::unique_ptr<TreeViewBox> box_;

 private:
  HWND parent_ = nullptr;
};

class OwningBox final : public TreeBox {
 public:
  void WriteContent(const ByteBuffer& content) override { w_.box_->WriteContent(content); }
  void Clear() override { w_.box_->Clear(); }
  int ItemCount() const override { return w_.box_->ItemCount(); }
  int IndentLevel(int index) const override { return w_.box_->IndentLevel(index); }
  Text ItemText(int index) const override { return w_.box_->ItemText(index); }
  int ParentIndex(int index) const override { return w_.box_->ParentIndex(index); }
  int CurrentItem() const override { return w_.box_->CurrentItem(); }

 private:
  WindowedTreeBox w_;
};

}  // namespace

std::unique_ptr<TreeBox> MakeTreeBox() { return std::make_unique<OwningBox>(); }

std::size_t TreeBoxMemoryBytes(const TreeBox&) { return 0; }

}  // namespace korvane::bench
