#include "app/application_win32.hpp"

#include <commctrl.h>

#include <memory>
#include <utility>

#include "app/app_globals_win32.hpp"
#include "app/exit_callbacks.hpp"
#include "app/message_loop_win32.hpp"
#include "common/fatal_error.hpp"

namespace korvane {
namespace {

std::unique_ptr<MainWindow> g_mainWindow;

void PrepareWindowSystem() {
  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES;
  InitCommonControlsEx(&controls);
}

}  // namespace

MainWindow* StartApplication(HINSTANCE instance) {
  PrepareWindowSystem();
  InitGlobals();
  TheExitCallbacks().Register(&ReleaseGlobals);

  g_mainWindow = std::make_unique<MainWindow>(TheFileDropHook(), ThePathList());
  if (!g_mainWindow->Load(instance)) {
    g_mainWindow.reset();
    return nullptr;
  }
  return g_mainWindow.get();
}

void RunExitProcessing() {
  TheExitCallbacks().RunAll();
  // The platform's own part: the form object outlives its window until now.
  g_mainWindow.reset();
}

int RunApplication(HINSTANCE instance, std::vector<DroppedFolder> folders) {
  InstallOutOfMemoryHandler();
  MainWindow* window = StartApplication(instance);
  if (window == nullptr) AbortApplication("无法创建主窗口，程序将退出。");
  window->ListFoldersLater(std::move(folders));
  RunMessageLoop(window->Handle());
  RunExitProcessing();
  return 0;
}

MainWindow* TheMainWindow() noexcept { return g_mainWindow.get(); }

}  // namespace korvane
