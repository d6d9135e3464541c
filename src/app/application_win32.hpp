#pragma once
// Start-up, message loop and exit processing of the program.
#include <windows.h>

#include <vector>

#include "app/main_window_win32.hpp"
#include "common/text.hpp"

namespace korvane {

// Start-up up to the message loop: InitGlobals, registers ReleaseGlobals as
// exit callback, loads and shows the main window (its created event registers
// the drop hook). Returns the main window, or nullptr if it could not be
// loaded.
MainWindow* StartApplication(HINSTANCE instance);

// Runs the exit callbacks once (ReleaseGlobals) and empties the list, then
// frees the main window object.
void RunExitProcessing();

// The whole program: start-up, the message loop, the exit processing.
// folders (the command line's) are listed once the loop runs, in order, as
// if they had been dropped together. Returns the exit code, 0; a main window
// that cannot be loaded is a fatal error and does not return.
int RunApplication(HINSTANCE instance, std::vector<DroppedFolder> folders = {});

// The main window of the running program; null before start-up and after the
// exit processing.
MainWindow* TheMainWindow() noexcept;

}  // namespace korvane
