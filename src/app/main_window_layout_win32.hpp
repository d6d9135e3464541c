#pragma once
// The main window's form as data: the window's own properties and its five
// controls in creation (= tab) order.
#include <windows.h>

#include <array>

namespace korvane {

// The controls under their form names, in creation order, which is also the
// tab order.
enum class Control { 编辑框1, 标签1, 按钮2, 按钮1, 树型框1 };
inline constexpr int kControlCount = 5;

struct WindowLayout {
  const char* caption;
  int width;  // outer size, frame included
  int height;
  DWORD style;
  DWORD exStyle;
};

enum class ControlKind { EditBox, Label, Button, TreeBox };

// Left, top, width, height in the window's client area.
struct Place {
  int left;
  int top;
  int width;
  int height;
};

struct ControlLayout {
  Control control;
  ControlKind kind;
  Place place;
  DWORD style;  // besides WS_CHILD | WS_VISIBLE and the tab stop
  DWORD exStyle;
  bool tabStop;
  const char* text;
};

extern const WindowLayout kMainWindowLayout;
extern const std::array<ControlLayout, kControlCount> kMainWindowControls;

// Control ids start above IDOK and IDCANCEL, which the dialog keys use.
inline constexpr int kFirstControlId = 1001;
inline int ControlId(Control control) noexcept { return kFirstControlId + static_cast<int>(control); }

// The window class of the control kind; null for the tree box, which makes
// its own control.
const char* ControlClassName(ControlKind kind) noexcept;

}  // namespace korvane
