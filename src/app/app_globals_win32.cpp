#include "app/app_globals_win32.hpp"

#include <memory>

#include "common/fatal_error.hpp"

namespace korvane {
namespace {

FileDropHook* g_fileDropHook = nullptr;
std::unique_ptr<PathList> g_pathList;

}  // namespace

void InitGlobals() {
  g_fileDropHook = CreateFileDropHook();
  g_pathList = std::make_unique<PathList>();
}

void ReleaseGlobals() {
  if (g_fileDropHook != nullptr) DestroyFileDropHook(&g_fileDropHook);
  g_pathList.reset();
}

bool GlobalsExist() noexcept { return g_pathList != nullptr; }

FileDropHook*& TheFileDropHook() noexcept { return g_fileDropHook; }

PathList& ThePathList() {
  // Every caller runs inside the message loop, where the list exists; a call
  // outside it is a bug that must not turn into a stray write.
  if (!g_pathList) FatalError("程序状态已释放，无法继续。");
  return *g_pathList;
}

}  // namespace korvane
