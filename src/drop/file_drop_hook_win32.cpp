#include "drop/file_drop_hook_win32.hpp"

#include <algorithm>
#include <cstdint>
#include <string>

#include "common/declared_functions_win32.hpp"
#include "common/exception_barrier.hpp"
#include "drop/message_filter_rule.hpp"
#include "drop/os_product_name_win32.hpp"
#include "drop/wnd_proc_stub_win32.hpp"

namespace korvane {
namespace {

constexpr UINT kAllDroppedItems = 0xFFFFFFFF;
constexpr DWORD kMessageFilterAdd = 1;  // MSGFLT_ADD
constexpr UINT kCopyGlobalData = 0x0049;

// What the stub calls: a plain routine, so that its calling convention is
// the window procedure's with one argument more.
LRESULT CALLBACK HookProcEntry(FileDropHook** hook, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWithExceptionBarrier([&] {
    if (*hook == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return (*hook)->HookProc(hook, window, message, wParam, lParam);
  });
}

}  // namespace

void FileDropHook::Destroy(FileDropHook** hook) { (*hook)->Unregister(hook); }

FileDropHook* FileDropHook::Copy(FileDropHook** hook) { return new FileDropHook(**hook); }

void FileDropHook::Register(FileDropHook** hook, HWND window, DropCallback callback, void* context) {
  FileDropHook& self = **hook;
  if (self.PreviousProc != nullptr) return;
  self.Window = window;
  self.Callback = callback;
  self.Context = context;
  declared::DragAcceptFiles(window, TRUE);

  const WNDPROC stub =
      WriteWndProcStub(reinterpret_cast<std::uintptr_t>(&HookProcEntry), reinterpret_cast<std::uintptr_t>(hook));
  if (stub == nullptr) {
    // No memory for the stub: nothing would take the drops, so take none.
    declared::DragAcceptFiles(window, FALSE);
    return;
  }
  self.PreviousProc =
      reinterpret_cast<WNDPROC>(declared::SetWindowLong(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(stub)));

  // Lets drops from processes of lower integrity through where the system
  // filters messages.
  if (NeedsMessageFilter(GetOsProductName())) {
    declared::ChangeWindowMessageFilter(WM_DROPFILES, kMessageFilterAdd);
    declared::ChangeWindowMessageFilter(WM_COPYDATA, kMessageFilterAdd);
    declared::ChangeWindowMessageFilter(kCopyGlobalData, kMessageFilterAdd);
  }
}

void FileDropHook::Unregister(FileDropHook** hook) {
  FileDropHook& self = **hook;
  declared::DragAcceptFiles(self.Window, FALSE);
  // Without a previous procedure there is no stub in place to take out, and
  // a window procedure of 0 would break the window.
  if (self.PreviousProc != nullptr) {
    declared::SetWindowLong(self.Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self.PreviousProc));
  }
}

LRESULT FileDropHook::HookProc(FileDropHook** hook, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_DROPFILES) {
    const WNDPROC previous = (*hook)->PreviousProc;
    if (previous == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return declared::CallWindowProcA(previous, window, message, wParam, lParam);
  }

  const auto drop = reinterpret_cast<HDROP>(wParam);
  const UINT count = declared::DragQueryFileA(drop, kAllDroppedItems, nullptr, 0);
  Text path;  // reused for every path
  std::wstring widePath;
  for (UINT index = 0; index < count; ++index) {
    // Each path is fetched whole, whatever its length.
    const UINT length = declared::DragQueryFileA(drop, index, nullptr, 0);
    if (length == 0) continue;  // unreadable: an empty path would name the drive's root
    path.assign(std::size_t{length} + 1, '\0');
    const UINT copied = declared::DragQueryFileA(drop, index, path.data(), length + 1);
    path.resize(std::min(copied, length));
    if (path.empty()) continue;
    // The same path in UTF-16, which keeps what the code page cannot hold.
    const UINT wideLength = ::DragQueryFileW(drop, index, nullptr, 0);
    widePath.assign(std::size_t{wideLength} + 1, L'\0');
    const UINT wideCopied = wideLength == 0 ? 0 : ::DragQueryFileW(drop, index, widePath.data(), wideLength + 1);
    widePath.resize(std::min(wideCopied, wideLength));
    // The callback runs a whole listing and may destroy the hook, which
    // empties the variable: look again before every path, and touch nothing
    // of the hook (`this` included) once it is gone.
    if (*hook == nullptr || (*hook)->Callback == nullptr) break;
    (*hook)->Callback((*hook)->Context, path, widePath);
  }
  declared::DragFinish(drop);
  return 0;
}

FileDropHook* CreateFileDropHook() { return new FileDropHook(); }

void RegisterFileDropHook(FileDropHook** hook, HWND window, DropCallback callback, void* context) {
  if (hook == nullptr || *hook == nullptr) return;
  (*hook)->Register(hook, window, callback, context);
}

void DestroyFileDropHook(FileDropHook** hook) {
  if (hook == nullptr || *hook == nullptr) return;
  (*hook)->Destroy(hook);
  delete *hook;
  *hook = nullptr;
}

}  // namespace korvane
