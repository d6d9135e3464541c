#pragma once
// The owned Windows handles of the program, one UniqueHandle each. Files and
// searches fail with INVALID_HANDLE_VALUE, not null, so that is their empty
// value; registry keys and windows are empty when null.
#include <windows.h>

#include "common/unique_handle.hpp"

namespace korvane {

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { ::FindClose(handle); }
};
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle key) noexcept { ::RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

// A window that its parent may already have destroyed.
struct WindowTraits {
  using Handle = HWND;
  static Handle Empty() noexcept { return nullptr; }
  static void Close(Handle window) noexcept {
    if (::IsWindow(window)) ::DestroyWindow(window);
  }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

}  // namespace korvane
