// Declared Windows functions: bound by name from the system folder on first
// call, the address kept, a test replacement honoured, and a DLL or name that
// cannot be found a fatal error (exit code -1) instead of a call through null.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/declared_functions_win32.hpp"

namespace korvane {
namespace {

TEST(DeclaredFunction, BindsTheSystemFunctionOnFirstCallAndKeepsIt) {
  const auto expected = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "lstrlenW"));
  ASSERT_NE(expected, nullptr);
  EXPECT_EQ(declared::lstrlenW(L"Korvane"), 7);
  EXPECT_EQ(reinterpret_cast<void*>(declared::lstrlenW.Address()), expected);
  // msvcrt's strlen, not the program's own.
  EXPECT_EQ(declared::strlen("\xd6\xd0\xce\xc4"), 4u);
  EXPECT_EQ(reinterpret_cast<void*>(declared::strlen.Address()),
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("msvcrt.dll"), "strlen")));
}

int WINAPI CountingGetSystemMetrics(int) { return 4242; }

TEST(DeclaredFunction, ATestReplacementIsCalledUntilItIsTakenBack) {
  declared::GetSystemMetrics.Override(&CountingGetSystemMetrics);
  EXPECT_EQ(declared::GetSystemMetrics(SM_CXSCREEN), 4242);
  declared::GetSystemMetrics.Override(nullptr);
  EXPECT_EQ(declared::GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CXSCREEN));
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

// A DLL of a declared function's name planted beside the program (the first
// place a plain name is looked for) is never the one bound: the copy in the
// system folder is.
TEST(DeclaredFunction, BindsFromTheSystemFolderNotFromBesideTheProgram) {
  char self[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  char system[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
  const std::string here = FolderOf(self);
  static constexpr char kName[] = "korvane-plant-probe.dll";
  const std::string planted = here + "\\" + kName;
  const std::string genuine = std::string(system) + "\\" + kName;
  ASSERT_TRUE(CopyFileA((here + "\\korvane_plant_probe_1.dll").c_str(), planted.c_str(), FALSE)) << GetLastError();
  ASSERT_TRUE(CopyFileA((here + "\\korvane_plant_probe_2.dll").c_str(), genuine.c_str(), FALSE)) << GetLastError();

  static DeclaredFunction<int()> probe{kName, "KorvanePlantProbe"};
  const int copy = probe();
  const HMODULE loaded = GetModuleHandleA(kName);
  if (loaded != nullptr) FreeLibrary(loaded);
  DeleteFileA(planted.c_str());
  DeleteFileA(genuine.c_str());
  EXPECT_EQ(copy, 2) << "copy 1 is the one planted beside the program";
}

// The child mode: binds a function that does not exist. The fatal error's
// message box is refused by a CBT hook so that the child does not wait for a
// user; an atexit marker shows whether the exit processing ran.
const char* g_marker = nullptr;

LRESULT CALLBACK RefuseWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

int RunChild(const char* what, const char* marker) {
  g_marker = marker;
  std::atexit([] {
    const HANDLE file = CreateFileA(g_marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  });
  SetWindowsHookExA(WH_CBT, &RefuseWindows, nullptr, GetCurrentThreadId());
  using Fn = int WINAPI(int);
  static DeclaredFunction<Fn> missingName{"kernel32.dll", "KorvaneNoSuchFunction"};
  static DeclaredFunction<Fn> missingDll{"korvane-no-such.dll", "Anything"};
  const int result = std::strcmp(what, "name") == 0 ? missingName(1) : missingDll(1);
  return result == 0 ? 3 : 4;  // only reached if binding did not end the process
}

DWORD RunSelfAsChild(const std::string& what, const std::string& marker) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string commandLine = "\"" + std::string(self) + "\" --bind-missing " + what + " \"" + marker + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return 0xDEAD;
  const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
  DWORD exitCode = 0xBEEF;
  if (waited == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &exitCode);
  else
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode;
}

TEST(DeclaredFunction, AMissingFunctionOrDllEndsTheProcessWithMinusOne) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  for (const std::string what : {"name", "dll"}) {
    const std::string marker = std::string(temp) + "korvane-bind-" + what + ".marker";
    DeleteFileA(marker.c_str());
    EXPECT_EQ(RunSelfAsChild(what, marker), static_cast<DWORD>(-1)) << what;
    EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << what << ": the exit processing ran";
    DeleteFileA(marker.c_str());
  }
}

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--bind-missing") == 0) return korvane::RunChild(argv[2], argv[3]);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
