#pragma once
// The message loop, and the routine it hands every message to, which the
// tests use too so that they see keys handled exactly as the program does.
#include <windows.h>

namespace korvane {

// Gives msg to the main window's dialog-key handling (Tab, Shift+Tab, Esc,
// Enter) or, if it is not such a key, translates and dispatches it.
void ProcessMessage(MSG& msg);

// Handles every message already queued. False once the quit message was
// taken (it is not handed on).
[[nodiscard]] bool PumpPendingMessages();

// Runs until the quit message, if the main window exists; returns 0.
int RunMessageLoop();

}  // namespace korvane
