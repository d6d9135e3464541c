// The entry point of korvane.exe. Everything else lives in korvane_app, so
// the tests can start the real program in their own process.
#include <windows.h>

#include "app/application_win32.hpp"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
  // The program reads no arguments and always opens its window normally.
  return korvane::RunApplication(instance);
}
