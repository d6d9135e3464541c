#include <windows.h>
#include <commctrl.h>

#include "bench_tree_box.hpp"
#include "treebox/tree_view_win32.hpp"

namespace korvane::bench {
namespace {

// The TreeView box in a plain window of its own, both living as long as this object.
class WindowedTreeBox final : public TreeBox {
 public:
  WindowedTreeBox() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    parent_ = CreateWindowExA(0, "STATIC", "bench_listing", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    const RECT place{7, 8, 567, 368};
    box_ = std::make_unique<TreeViewBox>(parent_, 1, place,
                                         WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                                         WS_EX_CLIENTEDGE);
  }
  ~WindowedTreeBox() override {
    box_.reset();
    DestroyWindow(parent_);
  }
  void WriteContent(const ByteBuffer& content) override { box_->WriteContent(content); }
  void Clear() override { box_->Clear(); }
  int ItemCount() const override { return box_->ItemCount(); }
  int IndentLevel(int index) const override { return box_->IndentLevel(index); }
  Text ItemText(int index) const override { return box_->ItemText(index); }
  int ParentIndex(int index) const override { return box_->ParentIndex(index); }
  int CurrentItem() const override { return box_->CurrentItem(); }

 private:
  HWND parent_ = nullptr;
  std::unique_ptr<TreeViewBox> box_;
};

}  // namespace

std::unique_ptr<TreeBox> MakeBenchTreeBox() { return std::make_unique<WindowedTreeBox>(); }

}  // namespace korvane::bench
