#include "win32/support/app_session_win32.hpp"

#include "app/message_loop_win32.hpp"

namespace korvane::testing {

bool PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (!PumpPendingMessages()) return false;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= milliseconds) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
  }
}

bool PumpUntilQuit(DWORD timeoutMilliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMilliseconds) {
    if (!PumpFor(20)) return true;
  }
  return false;
}

bool PressKey(HWND target, UINT virtualKey, bool shift) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  const BYTE oldShift = keys[VK_SHIFT];
  if (shift) {
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
  }
  const UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  const LPARAM down = 1 | (static_cast<LPARAM>(scanCode) << 16);
  const LPARAM up = down | (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
  PostMessageA(target, WM_KEYDOWN, virtualKey, down);
  PostMessageA(target, WM_KEYUP, virtualKey, up);
  const bool running = PumpFor(30);
  if (shift) {
    keys[VK_SHIFT] = oldShift;
    SetKeyboardState(keys);
  }
  return running;
}

void RunningApplication::SetUp() {
  window_ = StartApplication(GetModuleHandleA(nullptr));
  ASSERT_NE(window_, nullptr);
  handle_ = window_->Handle();
  SetForegroundWindow(handle_);
  ASSERT_TRUE(PumpFor(50));
}

void RunningApplication::TearDown() {
  if (window_ == nullptr) return;  // the start failed, and said so
  if (IsWindow(handle_)) DestroyWindow(handle_);
  // Closing the main window ends the loop: its quit message is queued at
  // once, so it must be there well within the time allowed.
  if (!quitTaken_) {
    EXPECT_TRUE(PumpUntilQuit(2000)) << "the loop's quit message never came";
  }
  RunExitProcessing();
}

}  // namespace korvane::testing
