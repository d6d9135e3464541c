#include "app/message_loop_win32.hpp"

namespace korvane {
namespace {

// The top-level window whose dialog keys msg may be, if it wants them.
HWND DialogKeyWindow(const MSG& msg) noexcept {
  if (msg.hwnd == nullptr) return nullptr;
  const HWND top = GetAncestor(msg.hwnd, GA_ROOT);
  if (top == nullptr || (GetWindowLongPtrA(top, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) == 0) return nullptr;
  return top;
}

}  // namespace

void ProcessMessage(MSG& msg) {
  const HWND dialog = DialogKeyWindow(msg);
  if (dialog != nullptr && IsDialogMessageA(dialog, &msg)) return;
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

int RunMessageLoop(HWND mainWindow) {
  // No window at this point: nothing could ever post the quit message.
  if (mainWindow == nullptr || !IsWindow(mainWindow)) return 0;
  MSG msg;
  // GetMessage gives -1 on an error (a bad argument, which cannot happen
  // here); end the loop then rather than spin.
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) ProcessMessage(msg);
  return 0;
}

}  // namespace korvane
