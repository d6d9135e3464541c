#pragma once
// ListingProgress: while it lives, a listing keeps the window alive. Every
// ~100 ms of scanning the window repaints, messages that other processes
// send are answered, and the label shows how far the listing is; input stays
// queued, so nothing re-enters the listing. The wait cursor is shown. At the
// end the label gets its own text back.
#include <windows.h>

#include <cstddef>

#include "common/path_list.hpp"
#include "common/text.hpp"

namespace korvane {

class ListingProgress {
 public:
  ListingProgress(HWND label, PathList& paths);
  ~ListingProgress();
  ListingProgress(const ListingProgress&) = delete;
  ListingProgress& operator=(const ListingProgress&) = delete;

 private:
  static void Observe(void* self, const PathList& paths);
  void Show(const PathList& paths);

  HWND label_;
  PathList& paths_;
  Text labelText_;
  std::size_t startCount_;
  DWORD lastShown_;
  HCURSOR previousCursor_;
};

}  // namespace korvane
