#pragma once
// The eighteen Windows functions that Korvane declares itself, bound by name
// on first call (see declared_function_win32.hpp). Everything else comes from
// the import libraries as usual.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstddef>

#include "common/declared_function_win32.hpp"

namespace korvane::declared {

// Not in the SDK headers.
using RtlGetNtVersionNumbersFn = void WINAPI(DWORD* major, DWORD* minor, DWORD* build);
using RtlGetProductInfoFn = BOOLEAN WINAPI(ULONG osMajor, ULONG osMinor, ULONG spMajor, ULONG spMinor, PULONG type);
using StrlenFn = std::size_t __cdecl(const char*);
// The 64-bit user32 exports SetWindowLongPtrA; the 32-bit one only SetWindowLongA.
using SetWindowLongFn = LONG_PTR WINAPI(HWND, int, LONG_PTR);
using ChangeWindowMessageFilterFn = BOOL WINAPI(UINT message, DWORD flag);

extern DeclaredFunction<decltype(::SHGetSpecialFolderPathW)> SHGetSpecialFolderPathW;
extern DeclaredFunction<decltype(::lstrlenW)> lstrlenW;
extern DeclaredFunction<decltype(::GetTempPathW)> GetTempPathW;
extern DeclaredFunction<decltype(::WideCharToMultiByte)> WideCharToMultiByte;
extern DeclaredFunction<StrlenFn> strlen;
extern DeclaredFunction<decltype(::DragAcceptFiles)> DragAcceptFiles;
extern DeclaredFunction<SetWindowLongFn> SetWindowLong;
extern DeclaredFunction<ChangeWindowMessageFilterFn> ChangeWindowMessageFilter;
extern DeclaredFunction<decltype(::VirtualAlloc)> VirtualAlloc;
extern DeclaredFunction<decltype(::GetVersionExA)> GetVersionExA;
extern DeclaredFunction<decltype(::GetSystemInfo)> GetSystemInfo;
extern DeclaredFunction<decltype(::IsWow64Process)> IsWow64Process;
extern DeclaredFunction<RtlGetNtVersionNumbersFn> RtlGetNtVersionNumbers;
extern DeclaredFunction<decltype(::GetSystemMetrics)> GetSystemMetrics;
extern DeclaredFunction<RtlGetProductInfoFn> RtlGetProductInfo;
extern DeclaredFunction<decltype(::DragQueryFileA)> DragQueryFileA;
extern DeclaredFunction<decltype(::DragFinish)> DragFinish;
extern DeclaredFunction<decltype(::CallWindowProcA)> CallWindowProcA;

}  // namespace korvane::declared
