#pragma once
// What the Win32 folder search offers beyond FolderSearch: a test seam for
// the call that starts each search.
#include <windows.h>

namespace korvane {

using FindFirstFileExWFn = HANDLE WINAPI(LPCWSTR pattern, FINDEX_INFO_LEVELS level, LPVOID data,
                                         FINDEX_SEARCH_OPS searchOp, LPVOID filter, DWORD flags);

// Test seam: later searches start through replacement (nullptr: the system's
// FindFirstFileExW again), and what the search had learned about the
// system's refusal of basic information and large fetches is forgotten.
void OverrideFindFirstFileEx(FindFirstFileExWFn* replacement) noexcept;

}  // namespace korvane
