#include "win32/export/message_box_capture_win32.hpp"

#include <gtest/gtest.h>

#include "win32/export/desktop_export_win32.hpp"

namespace korvane::test {
namespace {

// The id Windows gives the static control holding a message box's text.
constexpr int kMessageTextId = 0xFFFF;
// The box is looked for on a thread timer, which its own message loop runs.
constexpr UINT kTickMs = 30;
// A box that never shows is given up after this many ticks (about ten
// seconds), so that a broken capture fails the test instead of hanging it.
constexpr int kMaxTicks = 330;

struct CaptureState {
  HWND watched = nullptr;
  std::vector<CapturedMessageBox> boxes;
  UINT_PTR timer = 0;
  int ticks = 0;
};
CaptureState* g_state = nullptr;

std::string WindowText(HWND window) {
  char text[1024] = {};
  const int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool IsDialog(HWND window) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  return std::string(name) == "#32770";
}

void Inspect(HWND box, CapturedMessageBox& captured) {
  captured.appeared = true;
  captured.shownCaption = WindowText(box);
  captured.shownText = WindowText(GetDlgItem(box, kMessageTextId));
  captured.watchedWindowDisabled = g_state->watched != nullptr && !IsWindowEnabled(g_state->watched);
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (std::string(name) != "Button" || !IsWindowVisible(child)) continue;
    ++captured.visibleButtons;
    if (GetDlgCtrlID(child) == IDOK) captured.okButtonVisible = true;
  }
}

void Close(HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

// The shown message box of this thread, if any.
BOOL CALLBACK FindShownBox(HWND window, LPARAM found) {
  if (!IsDialog(window) || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_state == nullptr || g_state->boxes.empty()) return;
  CapturedMessageBox& current = g_state->boxes.back();
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindShownBox, reinterpret_cast<LPARAM>(&box));
  if (box != nullptr && !current.appeared) {
    Inspect(box, current);
    Close(box);
  } else if (++g_state->ticks > kMaxTicks) {
    current.closedByTimeout = true;
    if (box != nullptr) Close(box);
  }
}

int WINAPI RecordAndShow(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  CapturedMessageBox captured;
  captured.owner = owner;
  captured.text = text != nullptr ? text : "";
  captured.caption = caption != nullptr ? caption : "";
  captured.style = style;
  g_state->boxes.push_back(captured);
  g_state->ticks = 0;
  g_state->timer = SetTimer(nullptr, 0, kTickMs, OnTick);
  const int answer = MessageBoxA(owner, text, caption, style);
  KillTimer(nullptr, g_state->timer);
  return answer;
}

}  // namespace

MessageBoxCapture::MessageBoxCapture(MainWindow& window) : window_(window) {
  EXPECT_EQ(g_state, nullptr) << "one capture at a time";
  g_state = new CaptureState;
  g_state->watched = window.Handle();
  window.SetMessageBox(&RecordAndShow);
}

MessageBoxCapture::~MessageBoxCapture() {
  window_.SetMessageBox(nullptr);
  delete g_state;
  g_state = nullptr;
}

const std::vector<CapturedMessageBox>& MessageBoxCapture::Boxes() const { return g_state->boxes; }

CapturedMessageBox CaptureOneBox(MainWindow& window, const std::function<void()>& click) {
  MessageBoxCapture capture(window);
  click();
  EXPECT_EQ(capture.Boxes().size(), 1u);
  return capture.Boxes().empty() ? CapturedMessageBox() : capture.Boxes().front();
}

void ExpectExportBox(const CapturedMessageBox& box, const std::string& text) {
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.caption, kExportCaption);
  EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_TASKMODAL));
  EXPECT_TRUE(box.appeared);
  EXPECT_FALSE(box.closedByTimeout);
  EXPECT_EQ(box.shownText, text);
  EXPECT_EQ(box.shownCaption, kExportCaption);
  EXPECT_EQ(box.visibleButtons, 1);
  EXPECT_TRUE(box.okButtonVisible);
  EXPECT_TRUE(box.watchedWindowDisabled) << "the watched window took input meanwhile";
}

}  // namespace korvane::test
