#include "support/windowed_tree_box_win32.hpp"

#include <commctrl.h>

namespace korvane::bench {
namespace {

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    auto* box = reinterpret_cast<TreeViewBox*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (box != nullptr && box->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

const char* NotifyingParentClass() {
  static const char* const name = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KorvaneBenchParent";
    RegisterClassA(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

HWND MakeNotifyingParent(const char* title) {
  return CreateWindowExA(0, NotifyingParentClass(), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 580, 455, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

const RECT& TreeBoxPlace() {
  static const RECT place{7, 8, 567, 368};
  return place;
}

DWORD TreeBoxStyle() { return WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT; }

WindowedTreeBox::WindowedTreeBox(const char* title)
    : parent_(MakeNotifyingParent(title)),
      box_(std::make_unique<TreeViewBox>(parent_, 1, TreeBoxPlace(), TreeBoxStyle(), WS_EX_CLIENTEDGE)) {
  SetWindowLongPtrA(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box_.get()));
}

WindowedTreeBox::~WindowedTreeBox() {
  SetWindowLongPtrA(parent_, GWLP_USERDATA, 0);
  box_.reset();
  DestroyWindow(parent_);
}

}  // namespace korvane::bench
