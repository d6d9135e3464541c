#pragma once
// Start-up, message loop and exit processing of the program.
#include <windows.h>

#include <string_view>

#include "app/app_globals_win32.hpp"
#include "app/main_window_win32.hpp"
#include "app/message_loop_win32.hpp"
#include "common/path_list.hpp"
#include "common/text.hpp"

namespace korvane {

// Start-up up to the message loop: InitGlobals, registers ReleaseGlobals as
// exit callback, loads and shows the main window (its created event registers
// the drop hook with OnFolderDropped). Returns the main window, or nullptr if
// it could not be loaded.
MainWindow* StartApplication(HINSTANCE instance);

// Runs the exit callbacks once (ReleaseGlobals) and empties the list, then
// frees the main window object.
void RunExitProcessing();

// The whole program: start-up, the message loop, the exit processing.
// Returns the exit code, 0; a main window that cannot be loaded is a fatal
// error and does not return.
int RunApplication(HINSTANCE instance);

// The main window of the running program; null before start-up and after the
// exit processing.
MainWindow* TheMainWindow() noexcept;

// The drop hook's callback: lists each dropped folder, reached through its
// UTF-16 path and listed under its ANSI text.
void OnFolderDropped(const Text& path, std::wstring_view widePath);

// A fatal error: the exit callbacks are dropped, one message box is shown and
// the process ends with exit code -1.
[[noreturn]] void AbortApplication(const char* message) noexcept;

}  // namespace korvane
