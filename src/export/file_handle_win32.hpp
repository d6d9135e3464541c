#pragma once
// An owned file handle. CreateFileA fails with INVALID_HANDLE_VALUE, not null,
// so that is the empty value.
#include <windows.h>

#include "common/unique_handle.hpp"

namespace korvane {

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};

using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

}  // namespace korvane
