#pragma once
// Watches the main window's export message boxes: the arguments the window
// passes, and the box that really appears on the screen, found by a window
// search from a timer and closed with its OK button.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_window_win32.hpp"

namespace korvane::test {

struct CapturedMessageBox {
  // As the program asked for it.
  HWND owner = nullptr;
  std::string text;
  std::string caption;
  UINT style = 0;
  // As it appeared.
  bool appeared = false;
  std::string shownText;
  std::string shownCaption;
  int visibleButtons = 0;
  bool okButtonVisible = false;
  bool watchedWindowDisabled = false;  // the watched window could take no input meanwhile
  bool closedByTimeout = false;        // it was not seen in time
};

// One at a time, on window's boxes; the task-modal box must disable window.
class MessageBoxCapture {
 public:
  explicit MessageBoxCapture(MainWindow& window);
  ~MessageBoxCapture();
  MessageBoxCapture(const MessageBoxCapture&) = delete;
  MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

  const std::vector<CapturedMessageBox>& Boxes() const;

 private:
  MainWindow& window_;
};

// Runs click, which should export once, and hands back the one message box it
// showed.
CapturedMessageBox CaptureOneBox(MainWindow& window, const std::function<void()>& click);

// The box as the program asked for it (no owner, the caption, OK and
// task-modal) and as it appeared: the same texts, one OK button, the window
// held still, closed by the test rather than by a timeout.
void ExpectExportBox(const CapturedMessageBox& box, const std::string& text);

}  // namespace korvane::test
