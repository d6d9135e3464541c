#include "app/message_loop_win32.hpp"

#include "app/application_win32.hpp"

namespace korvane {
namespace {

HWND MainWindowHandle() noexcept {
  const MainWindow* window = TheMainWindow();
  if (window == nullptr || !IsWindow(window->Handle())) return nullptr;
  return window->Handle();
}

}  // namespace

void ProcessMessage(MSG& msg) {
  const HWND main = MainWindowHandle();
  if (main != nullptr && IsDialogMessageA(main, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

bool PumpPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return false;
    ProcessMessage(msg);
  }
  return true;
}

int RunMessageLoop() {
  // No window at this point: nothing could ever post the quit message.
  if (MainWindowHandle() == nullptr) return 0;
  MSG msg;
  // GetMessage gives -1 on an error (a bad argument, which cannot happen
  // here); end the loop then rather than spin.
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) ProcessMessage(msg);
  return 0;
}

}  // namespace korvane
