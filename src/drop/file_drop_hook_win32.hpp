#pragma once
// FileDropHook: makes one window accept files and folders dropped from the
// shell and hands each dropped path to a callback.
//
// What the rest of the program uses of it: the three functions below. The
// process-wide variable that holds the hook belongs to the application; the
// hook's operations are given a reference to that variable.
#include <windows.h>

#include "common/text.hpp"

namespace korvane {

class FileDropHook;

// Receives one dropped path; the text is only valid during the call.
using DropCallback = void (*)(const Text& path);

// A new hook in its unregistered state: no window, no previous procedure, no callback.
FileDropHook* CreateFileDropHook();

// Hooks window: it accepts dropped files, and each dropped path goes to callback.
void RegisterFileDropHook(FileDropHook** hook, HWND window, DropCallback callback);

// Unregisters the hook (the window gets its previous procedure back and takes
// no more drops), frees it and empties the variable.
void DestroyFileDropHook(FileDropHook** hook);

}  // namespace korvane
