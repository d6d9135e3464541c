#pragma once
// Tests that run the real application in their own process: start it, pump
// and press keys through the same message handling as the program's loop,
// and shut it down the way the program does.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/app_globals_win32.hpp"
#include "app/application_win32.hpp"
#include "app/exit_callbacks.hpp"
#include "app/message_loop_win32.hpp"

namespace korvane::testing {

// Handles queued messages until the queue stays empty for a moment. False
// once the quit message was taken.
[[nodiscard]] bool PumpFor(DWORD milliseconds = 50);

// Pumps until the quit message arrives; false if it does not within timeout.
[[nodiscard]] bool PumpUntilQuit(DWORD timeoutMilliseconds = 5000);

// Posts a key press (down and up) to target, as the keyboard would queue
// it, then pumps. With shift, the Shift key counts as held meanwhile.
// False if the quit message was taken.
bool PressKey(HWND target, UINT virtualKey, bool shift = false);

// Starts the application for each test and shuts it down afterwards: the
// window is closed if the test left it open, the loop's quit message taken,
// and the exit processing run.
class RunningApplication : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND ControlWindow(korvane::Control control) const { return window_->ControlWindow(control); }

  MainWindow* window_ = nullptr;
  HWND handle_ = nullptr;
  bool quitTaken_ = false;  // a test that took the quit message itself sets it
};

}  // namespace korvane::testing
