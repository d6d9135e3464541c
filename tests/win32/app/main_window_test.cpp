// The main window as the program opens it: its frame, size, place and look,
// and its five controls.
#include <windows.h>
#include <commctrl.h>

#include <array>

#include "win32/support/app_session_win32.hpp"
#include "win32/support/window_read_win32.hpp"

namespace korvane {
namespace {

using testing::ClassName;
using testing::PlaceInParent;
using testing::RunningApplication;
using testing::WindowText;

using MainWindowTest = RunningApplication;

TEST_F(MainWindowTest, CaptionIsTheNameWithADistributionNotice) {
  const std::string caption = WindowText(handle_);
  ASSERT_GT(caption.size(), std::string("Korvane1.1").size()) << caption;
  EXPECT_EQ(caption.substr(0, 10), "Korvane1.1");
}

TEST_F(MainWindowTest, OpensCentredWithItsOuterSize) {
  const RECT rect = PlaceInParent(handle_);
  EXPECT_EQ(rect.right - rect.left, 580);
  EXPECT_EQ(rect.bottom - rect.top, 455);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 580) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 455) / 2);
  EXPECT_TRUE(IsWindowVisible(handle_));
}

TEST_F(MainWindowTest, HasAFixedDialogFrameWithMinimizeButNoMaximize) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(handle_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(handle_, GWL_EXSTYLE));
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_CHILD);
  EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(exStyle & WS_EX_TOPMOST);
  EXPECT_FALSE(exStyle & WS_EX_TOOLWINDOW) << "a tool window is left out of the taskbar";
  EXPECT_EQ(GetWindow(handle_, GW_OWNER), nullptr) << "an owned window is left out of the taskbar";
}

TEST_F(MainWindowTest, EdgesCannotBeDraggedButTheCaptionCan) {
  RECT rect = {};
  GetWindowRect(handle_, &rect);
  const auto hit = [this](int x, int y) { return SendMessageA(handle_, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
  // The outermost pixel of each edge and the corners.
  for (const POINT point :
       {POINT{rect.left, (rect.top + rect.bottom) / 2}, POINT{rect.right - 1, (rect.top + rect.bottom) / 2},
        POINT{(rect.left + rect.right) / 2, rect.bottom - 1}, POINT{rect.right - 1, rect.bottom - 1},
        POINT{rect.left, rect.top}}) {
    const LRESULT result = hit(point.x, point.y);
    EXPECT_TRUE(result < HTSIZEFIRST || result > HTSIZELAST) << "sizing edge at " << point.x << "," << point.y;
  }
  RECT client = {};
  GetClientRect(handle_, &client);
  POINT captionPoint = {client.right / 2, 0};
  ClientToScreen(handle_, &captionPoint);
  EXPECT_EQ(hit(captionPoint.x, captionPoint.y - 5), HTCAPTION);
}

TEST_F(MainWindowTest, CanBeMinimizedAndRestored) {
  ShowWindow(handle_, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(handle_));
  ShowWindow(handle_, SW_RESTORE);
  EXPECT_FALSE(IsIconic(handle_));
  EXPECT_TRUE(IsWindow(handle_));
}

TEST_F(MainWindowTest, LooksLikeADialogOfTheSystem) {
  EXPECT_EQ(GetClassLongPtrA(handle_, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
  EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(handle_, GCLP_HICON)), LoadIconA(nullptr, IDI_APPLICATION));
  EXPECT_FALSE(HIWORD(SendMessageA(handle_, DM_GETDEFID, 0, 0)) == DC_HASDEFID) << "no button is the default";
}

struct ExpectedControl {
  Control control;
  const char* className;
  RECT place;  // left, top, right, bottom in the client area
  const char* text;
  bool tabStop;
  bool seen;  // lies inside the client area
  DWORD typeMask;
  DWORD type;
  DWORD required;
  DWORD forbidden;
  DWORD exRequired;
};

// The form, written out again here rather than read from the program's table.
const std::array<ExpectedControl, 5> kExpectedControls = {{
    {Control::编辑框1,
     "Edit",
     {576, 8, 840, 32},
     "",
     true,
     false,
     0,
     0,
     ES_AUTOHSCROLL,
     ES_MULTILINE | ES_READONLY | ES_PASSWORD | ES_CENTER | ES_RIGHT,
     WS_EX_CLIENTEDGE},
    {Control::标签1,
     "Static",
     {56, 376, 384, 424},
     "请拖放需要查询的文件夹到软件界面，可查询子文件夹内文件",
     false,
     true,
     SS_TYPEMASK,
     SS_LEFTNOWORDWRAP,
     SS_CENTERIMAGE,
     WS_BORDER | SS_SUNKEN,
     0},
    {Control::按钮2,
     "Button",
     {416, 383, 560, 415},
     "导出",
     true,
     true,
     BS_TYPEMASK,
     BS_PUSHBUTTON,
     BS_CENTER | BS_VCENTER,
     0,
     0},
    {Control::按钮1,
     "Button",
     {785, 328, 841, 360},
     "查询",
     true,
     false,
     BS_TYPEMASK,
     BS_PUSHBUTTON,
     BS_CENTER | BS_VCENTER,
     0,
     0},
    {Control::树型框1,
     WC_TREEVIEWA,
     {7, 8, 567, 368},
     "",
     true,
     true,
     0,
     0,
     TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
     TVS_EDITLABELS | TVS_CHECKBOXES | TVS_SHOWSELALWAYS,
     WS_EX_CLIENTEDGE},
}};

TEST_F(MainWindowTest, TheFiveControlsAreThereInCreationOrder) {
  HWND child = GetWindow(handle_, GW_CHILD);
  for (const ExpectedControl& expected : kExpectedControls) {
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child, ControlWindow(expected.control)) << expected.className << " out of order";
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "a sixth child window";
}

TEST_F(MainWindowTest, EachControlHasItsPlaceTextAndSettings) {
  RECT client = {};
  GetClientRect(handle_, &client);
  const auto defaultFont = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
  for (const ExpectedControl& expected : kExpectedControls) {
    SCOPED_TRACE(expected.className);
    const HWND control = ControlWindow(expected.control);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(ClassName(control), expected.className);
    const RECT place = PlaceInParent(control);
    EXPECT_EQ(place.left, expected.place.left);
    EXPECT_EQ(place.top, expected.place.top);
    EXPECT_EQ(place.right, expected.place.right);
    EXPECT_EQ(place.bottom, expected.place.bottom);
    EXPECT_EQ(WindowText(control), expected.text);
    EXPECT_TRUE(IsWindowVisible(control)) << "every control is visible, seen or not";
    EXPECT_TRUE(IsWindowEnabled(control));
    EXPECT_EQ(SendMessageA(control, WM_GETFONT, 0, 0), defaultFont);

    const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE));
    EXPECT_EQ((style & WS_TABSTOP) != 0, expected.tabStop);
    if (expected.typeMask != 0) {
      EXPECT_EQ(style & expected.typeMask, expected.type);
    }
    EXPECT_EQ(style & expected.required, expected.required);
    EXPECT_EQ(style & expected.forbidden, 0u);
    EXPECT_EQ(exStyle & expected.exRequired, expected.exRequired);

    RECT overlap = {};
    const bool inside = IntersectRect(&overlap, &place, &client) && EqualRect(&overlap, &place);
    const bool outside = !IntersectRect(&overlap, &place, &client);
    if (expected.seen) {
      EXPECT_TRUE(inside) << "should lie wholly in the client area";
    } else {
      EXPECT_TRUE(outside) << "should lie wholly outside the client area";
    }
  }
}

TEST_F(MainWindowTest, EditBoxTakesAnyLengthOfTextAndGivesItBackWhole) {
  EXPECT_GE(static_cast<std::size_t>(SendMessageA(ControlWindow(Control::编辑框1), EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu)
      << "the default limit would cut typed text at 30,000";

  std::string text = "Z:\\tmp\\";
  while (text.size() < 70000) text += "目录";
  window_->Edit().SetText(text);
  EXPECT_EQ(window_->Edit().GetText(), text);
  EXPECT_EQ(WindowText(ControlWindow(Control::编辑框1)), text);

  window_->Edit().SetText("");
  EXPECT_EQ(window_->Edit().GetText(), "");
}

TEST_F(MainWindowTest, TheTreeBoxStartsEmpty) {
  EXPECT_EQ(window_->Tree().ItemCount(), 0);
  EXPECT_EQ(window_->Tree().Control(), ControlWindow(Control::树型框1));
  EXPECT_EQ(window_->Edit().GetText(), "");
}

}  // namespace
}  // namespace korvane
