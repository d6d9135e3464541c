#pragma once
// The program's process-wide state: the FileDropHook variable and PathList.
// Both are made by InitGlobals before the main window exists and released by
// ReleaseGlobals, which runs as an exit callback after the window is gone.
#include "common/path_list.hpp"
#include "drop/file_drop_hook_win32.hpp"

namespace korvane {

// The hook in its unregistered state, then PathList empty.
void InitGlobals();

// Destroys the hook (its unregistering addresses a window that no longer
// exists and fails harmlessly), then frees PathList with every path in it.
void ReleaseGlobals();

// True between InitGlobals and ReleaseGlobals.
bool GlobalsExist() noexcept;

// The process-wide hook variable; the hook's operations take its address.
// Null before InitGlobals and after ReleaseGlobals.
FileDropHook*& TheFileDropHook() noexcept;

// The process-wide path list. Only valid while GlobalsExist().
PathList& ThePathList();

}  // namespace korvane
