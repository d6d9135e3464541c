// The window's keys, pressed through the same message handling as the
// program's loop: Tab and Shift+Tab, Enter, F1 and Esc.
#include <array>

#include "export/listing_export_win32.hpp"
#include "win32/support/app_session_win32.hpp"
#include "win32/support/temp_folder_win32.hpp"

namespace korvane {
namespace {

using testing::PressKey;
using testing::RunningApplication;

int g_messageBoxes = 0;
int WINAPI CountMessageBox(HWND, LPCSTR, LPCSTR, UINT) {
  ++g_messageBoxes;
  return IDOK;
}

const char* NameOf(Control control) {
  switch (control) {
    case Control::编辑框1:
      return "编辑框1";
    case Control::标签1:
      return "标签1";
    case Control::按钮2:
      return "按钮2";
    case Control::按钮1:
      return "按钮1";
    case Control::树型框1:
      return "树型框1";
  }
  return "?";
}

class KeysTest : public RunningApplication {
 protected:
  // Which control has the focus, by its form name.
  std::string FocusName() const {
    const HWND focus = GetFocus();
    for (Control control : {Control::编辑框1, Control::标签1, Control::按钮2, Control::按钮1, Control::树型框1}) {
      if (ControlWindow(control) == focus) return NameOf(control);
    }
    return focus == handle_ ? "the window itself" : "something else";
  }
};

TEST_F(KeysTest, TabVisitsTheFourControlsInOrderAndRoundAgain) {
  SetFocus(ControlWindow(Control::编辑框1));
  const std::array<Control, 8> expected = {Control::按钮2, Control::按钮1, Control::树型框1, Control::编辑框1,
                                           Control::按钮2, Control::按钮1, Control::树型框1, Control::编辑框1};
  for (Control next : expected) {
    ASSERT_TRUE(PressKey(GetFocus(), VK_TAB));
    EXPECT_EQ(FocusName(), NameOf(next));
  }
}

TEST_F(KeysTest, ShiftTabVisitsThemBackwards) {
  SetFocus(ControlWindow(Control::编辑框1));
  const std::array<Control, 5> expected = {Control::树型框1, Control::按钮1, Control::按钮2, Control::编辑框1,
                                           Control::树型框1};
  for (Control next : expected) {
    ASSERT_TRUE(PressKey(GetFocus(), VK_TAB, /*shift=*/true));
    EXPECT_EQ(FocusName(), NameOf(next));
  }
}

TEST_F(KeysTest, TheFocusStartsOnTheFirstTabStopAndComesBackAfterDeactivation) {
  EXPECT_EQ(FocusName(), "编辑框1");
  SetFocus(ControlWindow(Control::按钮1));
  SendMessageA(handle_, WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(handle_);
  SendMessageA(handle_, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(FocusName(), "按钮1");
}

// Enter and F1 on each of the four tab stops: the focus stays, no button is
// clicked (按钮1 would list the folder in the edit box, 按钮2 would export
// and show its message box), and the window stays open.
TEST_F(KeysTest, EnterAndF1DoNothing) {
  testing::TempFolder folder("korvane-keys");
  folder.AddFile("a.txt");
  window_->Edit().SetText(folder.Path());
  g_messageBoxes = 0;
  window_->SetMessageBox(&CountMessageBox);

  for (UINT key : {static_cast<UINT>(VK_RETURN), static_cast<UINT>(VK_F1)}) {
    for (Control control : {Control::编辑框1, Control::按钮2, Control::按钮1, Control::树型框1}) {
      SCOPED_TRACE(std::string(key == VK_RETURN ? "Enter on " : "F1 on ") + NameOf(control));
      SetFocus(ControlWindow(control));
      ASSERT_TRUE(PressKey(GetFocus(), key));
      EXPECT_EQ(FocusName(), NameOf(control));
      EXPECT_TRUE(IsWindow(handle_));
    }
  }
  EXPECT_EQ(ThePathList().Count(), 0u) << "a key clicked 按钮1";
  EXPECT_EQ(g_messageBoxes, 0) << "a key clicked 按钮2";
  window_->SetMessageBox(nullptr);
}

class EscTest : public RunningApplication, public ::testing::WithParamInterface<Control> {};

TEST_P(EscTest, EscClosesTheWindowAndEndsTheLoop) {
  SetFocus(ControlWindow(GetParam()));
  ASSERT_EQ(GetFocus(), ControlWindow(GetParam()));
  const bool running = PressKey(GetFocus(), VK_ESCAPE);
  quitTaken_ = !running || testing::PumpUntilQuit();
  EXPECT_TRUE(quitTaken_) << "no quit message";
  EXPECT_FALSE(IsWindow(handle_));
}

INSTANTIATE_TEST_SUITE_P(FromEachTabStop, EscTest,
                         ::testing::Values(Control::编辑框1, Control::按钮2, Control::按钮1, Control::树型框1),
                         [](const ::testing::TestParamInfo<Control>& info) {
                           return "TabStop" + std::to_string(static_cast<int>(info.param));
                         });

}  // namespace
}  // namespace korvane
