#include "common/declared_functions_win32.hpp"

namespace korvane::declared {

// In the order in which the program declares them, with the DLL file named as
// it was declared (Windows file names are case-insensitive).
DeclaredFunction<decltype(::SHGetSpecialFolderPathW)> SHGetSpecialFolderPathW{"Shell32.dll", "SHGetSpecialFolderPathW"};
DeclaredFunction<decltype(::lstrlenW)> lstrlenW{"kernel32.dll", "lstrlenW"};
DeclaredFunction<decltype(::GetTempPathW)> GetTempPathW{"Kernel32.dll", "GetTempPathW"};
DeclaredFunction<decltype(::WideCharToMultiByte)> WideCharToMultiByte{"kernel32.dll", "WideCharToMultiByte"};
DeclaredFunction<StrlenFn> strlen{"msvcrt.dll", "strlen"};
DeclaredFunction<decltype(::DragAcceptFiles)> DragAcceptFiles{"shell32.dll", "DragAcceptFiles"};
#ifdef _WIN64
DeclaredFunction<SetWindowLongFn> SetWindowLong{"user32.dll", "SetWindowLongPtrA"};
#else
DeclaredFunction<SetWindowLongFn> SetWindowLong{"user32.dll", "SetWindowLongA"};
#endif
DeclaredFunction<ChangeWindowMessageFilterFn> ChangeWindowMessageFilter{"user32.dll", "ChangeWindowMessageFilter"};
DeclaredFunction<decltype(::VirtualAlloc)> VirtualAlloc{"Kernel32.dll", "VirtualAlloc"};
DeclaredFunction<decltype(::GetVersionExA)> GetVersionExA{"kernel32.dll", "GetVersionExA"};
DeclaredFunction<decltype(::GetSystemInfo)> GetSystemInfo{"kernel32.dll", "GetSystemInfo"};
DeclaredFunction<decltype(::IsWow64Process)> IsWow64Process{"kernel32.dll", "IsWow64Process"};
DeclaredFunction<RtlGetNtVersionNumbersFn> RtlGetNtVersionNumbers{"ntdll.dll", "RtlGetNtVersionNumbers"};
DeclaredFunction<decltype(::GetSystemMetrics)> GetSystemMetrics{"User32.dll", "GetSystemMetrics"};
DeclaredFunction<RtlGetProductInfoFn> RtlGetProductInfo{"ntdll.dll", "RtlGetProductInfo"};
DeclaredFunction<decltype(::DragQueryFileA)> DragQueryFileA{"shell32.dll", "DragQueryFileA"};
DeclaredFunction<decltype(::DragFinish)> DragFinish{"shell32.dll", "DragFinish"};
DeclaredFunction<decltype(::CallWindowProcA)> CallWindowProcA{"user32.dll", "CallWindowProcA"};

}  // namespace korvane::declared
