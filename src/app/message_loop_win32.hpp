#pragma once
// The message loop, and the routine it hands every message to, which the
// tests use too so that they see keys handled exactly as the program does.
#include <windows.h>

namespace korvane {

// Gives msg to the dialog-key handling (Tab, Shift+Tab, Esc, Enter) of its
// top-level window if that window asks for it (WS_EX_CONTROLPARENT, as the
// main window does); otherwise translates and dispatches it.
void ProcessMessage(MSG& msg);

// Handles every message already queued. False once the quit message was
// taken (it is not handed on).
[[nodiscard]] bool PumpPendingMessages();

// Runs until the quit message if mainWindow exists; returns 0.
int RunMessageLoop(HWND mainWindow);

}  // namespace korvane
