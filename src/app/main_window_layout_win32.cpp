#include "app/main_window_layout_win32.hpp"

#include <commctrl.h>

namespace korvane {

const WindowLayout kMainWindowLayout = {
    "Korvane1.1 - 免费软件，欢迎自由复制传播",
    580,
    455,
    // A fixed dialog frame: caption, system menu and minimize box; no sizing
    // border and no maximize box.
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    // WS_EX_CONTROLPARENT lets the dialog keys (Tab, Shift+Tab, Esc) work on
    // this ordinary window.
    WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT,
};

// clang-format off
const std::array<ControlLayout, kControlCount> kMainWindowControls = {{
  // control         kind                  left  top  width height
  {Control::编辑框1, ControlKind::EditBox, {576,   8, 264,  24},
   ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, true, ""},
  {Control::标签1,   ControlKind::Label,   { 56, 376, 328,  48},
   SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX, 0, false,
   "请拖放需要查询的文件夹到软件界面，可查询子文件夹内文件"},
  {Control::按钮2,   ControlKind::Button,  {416, 383, 144,  32},
   BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0, true, "导出"},
  {Control::按钮1,   ControlKind::Button,  {785, 328,  56,  32},
   BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0, true, "查询"},
  {Control::树型框1, ControlKind::TreeBox, {  7,   8, 560, 360},
   TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, WS_EX_CLIENTEDGE, true, ""},
}};
// clang-format on

const char* ControlClassName(ControlKind kind) noexcept {
  switch (kind) {
    case ControlKind::EditBox:
      return "Edit";
    case ControlKind::Label:
      return "Static";
    case ControlKind::Button:
      return "Button";
    case ControlKind::TreeBox:
      break;
  }
  return nullptr;
}

}  // namespace korvane
