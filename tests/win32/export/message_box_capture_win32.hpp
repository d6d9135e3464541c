#pragma once
// Watches the export's message boxes: the arguments the program passes, and
// the box that really appears on the screen, found by a window search from a
// timer and closed with its OK button.
#include <windows.h>

#include <string>
#include <vector>

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

// One at a time. watched: a top-level window of this thread that a
// task-modal box must disable (may be null).
class MessageBoxCapture {
 public:
  explicit MessageBoxCapture(HWND watched = nullptr);
  ~MessageBoxCapture();
  MessageBoxCapture(const MessageBoxCapture&) = delete;
  MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

  const std::vector<CapturedMessageBox>& Boxes() const;
};

}  // namespace korvane::test
