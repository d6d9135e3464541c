#pragma once
// FileDropHook: makes one window accept files and folders dropped from the
// shell and hands each dropped path to a callback.
//
// What the rest of the program uses of it: the three functions below. The
// variable that holds the hook belongs to the application; the hook's
// operations are given a reference to that variable. Exceptions never leave
// the hook's window procedure: they end in the fatal path.
#include <windows.h>

#include <string_view>

#include "common/text.hpp"

namespace korvane {

// Receives one dropped path, with the context given to Register beside it:
// its ANSI text, and the same path in UTF-16 as the shell handed it over (the
// ANSI text holds "?" where the code page cannot hold a character; the UTF-16
// path still names the folder). Both are only valid during the call.
using DropCallback = void (*)(void* context, const Text& path, std::wstring_view widePath);

// The hook object. Its operations are given a reference to the variable that
// holds it, not the object, and reach the fields through that reference: the
// window-procedure stub is bound to the reference, so a hook whose variable
// has been emptied is never touched again.
//
// The virtual operations, in slot order: Destroy, Copy, Register, Unregister,
// HookProc.
class FileDropHook final {
 public:
  // Unregister, nothing more; the caller frees the object afterwards.
  virtual void Destroy(FileDropHook** hook);
  // A new object with the same fields (the program never needs it).
  virtual FileDropHook* Copy(FileDropHook** hook);
  // Makes window accept drops and puts a stub bound to HookProc and hook in
  // place of its window procedure; each dropped path goes to callback with
  // context. A hook is registered once in its life: a
  // Register after a successful one does nothing, so no message can ever be
  // passed from one stub of the hook to another.
  virtual void Register(FileDropHook** hook, HWND window, DropCallback callback, void* context);
  // The window takes no more drops and gets PreviousProc back. The fields
  // keep their values.
  virtual void Unregister(FileDropHook** hook);
  // The window procedure behind the stub: WM_DROPFILES goes to Callback,
  // path by path in index order; every other message to PreviousProc. A
  // callback may destroy the hook: the paths after it are then dropped and
  // the hook is not touched again.
  virtual LRESULT HookProc(FileDropHook** hook, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND Window = nullptr;           // the hooked window
  WNDPROC PreviousProc = nullptr;  // the procedure the stub replaced
  DropCallback Callback = nullptr;
  void* Context = nullptr;  // handed to Callback with each path
};

// A new hook in its unregistered state: no window, no previous procedure, no
// callback.
FileDropHook* CreateFileDropHook();

// Hooks window: it accepts dropped files, and each dropped path goes to
// callback with context.
void RegisterFileDropHook(FileDropHook** hook, HWND window, DropCallback callback, void* context);

// Unregisters the hook (the window gets its previous procedure back and takes
// no more drops), frees it and empties the variable.
void DestroyFileDropHook(FileDropHook** hook);

}  // namespace korvane
