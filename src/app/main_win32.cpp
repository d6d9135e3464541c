// The entry point of korvane.exe. Everything else lives in korvane_app, so
// the tests can start the real program in their own process.
#include <windows.h>

#include "app/application_win32.hpp"
#include "app/command_line_win32.hpp"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  // The window always opens normally; folders named on the command line are
  // listed as if dropped on it.
  return korvane::RunApplication(instance, korvane::CommandLineFolders());
}
