#include "app/listing_progress_win32.hpp"

#include "app/listing_progress_text.hpp"
#include "listing/path_split.hpp"

namespace korvane {
namespace {

// How often the scan looks at the clock, and how often the window is kept
// alive: a few hundred entries cost well under a millisecond.
constexpr std::size_t kEntriesBetweenLooks = 256;
constexpr DWORD kMillisecondsBetweenShows = 100;
// WM_PAINT messages handled per show at most, so that a window that never
// validates cannot keep the scan waiting.
constexpr int kMaxPaintsPerShow = 64;

Text WindowTextOf(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return Text();
  Text text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

}  // namespace

ListingProgress::ListingProgress(HWND label, PathList& paths)
    : label_(label),
      paths_(paths),
      labelText_(WindowTextOf(label)),
      startCount_(paths.Count()),
      lastShown_(GetTickCount()),
      previousCursor_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {
  paths_.ObserveAppends(&ListingProgress::Observe, this, kEntriesBetweenLooks);
}

ListingProgress::~ListingProgress() {
  paths_.ObserveAppends(nullptr, nullptr, 0);
  SetWindowTextA(label_, labelText_.c_str());
  SetCursor(previousCursor_);
}

void ListingProgress::Observe(void* self, const PathList& paths) {
  auto* progress = static_cast<ListingProgress*>(self);
  if (GetTickCount() - progress->lastShown_ < kMillisecondsBetweenShows) return;
  progress->Show(paths);
  progress->lastShown_ = GetTickCount();
}

void ListingProgress::Show(const PathList& paths) {
  // The folder being read: the last path found, less its own name.
  const std::string_view last = paths.At(paths.Count() - 1);
  const std::string_view folder = last.substr(0, last.size() - LastPathSegment(last).last.size());

  RECT room = {};
  GetClientRect(label_, &room);
  const HDC dc = GetDC(label_);
  const auto font = reinterpret_cast<HFONT>(SendMessageA(label_, WM_GETFONT, 0, 0));
  const HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
  const Text text = ListingProgressText(paths.Count() - startCount_, folder, [&](const Text& candidate) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, candidate.data(), static_cast<int>(candidate.size()), &size);
    return size.cx <= room.right;
  });
  if (oldFont != nullptr) SelectObject(dc, oldFont);
  ReleaseDC(label_, dc);
  SetWindowTextA(label_, text.c_str());

  // Peeking answers the messages other threads and processes send to our
  // windows; only paint messages are taken from the queue, input stays.
  MSG msg;
  for (int i = 0; i < kMaxPaintsPerShow && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
    DispatchMessageA(&msg);
  }
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

}  // namespace korvane
