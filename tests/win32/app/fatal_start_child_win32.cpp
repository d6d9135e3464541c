// Runs the program in a process where no window can be created (a CBT hook
// refuses every one), so that loading the main window fails. argv[1] names a
// file that an extra exit callback creates if the exit callbacks ever run.
#include <windows.h>

#include <string>

#include "app/application_win32.hpp"
#include "app/exit_callbacks.hpp"

namespace {

std::string g_marker;

void CreateMarker() {
  const HANDLE file =
      CreateFileA(g_marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

LRESULT CALLBACK RefuseWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) return 1;  // nonzero: the window is not created
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  g_marker = argv[1];
  korvane::TheExitCallbacks().Register(&CreateMarker);
  SetWindowsHookExA(WH_CBT, &RefuseWindows, nullptr, GetCurrentThreadId());
  const int code = korvane::RunApplication(GetModuleHandleA(nullptr));
  // Only reached if the failure was not treated as fatal.
  korvane::RunExitProcessing();
  return code == 0 ? 3 : code;
}
