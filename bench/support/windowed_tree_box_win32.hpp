#pragma once
// The TreeView box the benchmarks measure under Wine: placed and styled as on
// the main window, in a shown top-level window of its own that hands the box
// its notifications, as the main window does.
#include <windows.h>

#include <memory>

#include "treebox/tree_box.hpp"
#include "treebox/tree_view_win32.hpp"

namespace korvane::bench {

// The window class that forwards WM_NOTIFY to the TreeViewBox stored in the
// window's user data; registered once.
const char* NotifyingParentClass();

// A shown top-level window of that class, the size of the main window.
HWND MakeNotifyingParent(const char* title);

// The box's place and style on the main window.
const RECT& TreeBoxPlace();
DWORD TreeBoxStyle();

class WindowedTreeBox final : public TreeBox {
 public:
  explicit WindowedTreeBox(const char* title);
  ~WindowedTreeBox() override;
  WindowedTreeBox(const WindowedTreeBox&) = delete;
  WindowedTreeBox& operator=(const WindowedTreeBox&) = delete;

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

}  // namespace korvane::bench
