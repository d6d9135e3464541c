#include "app/application_win32.hpp"

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/exit_callbacks.hpp"
#include "common/fatal_error.hpp"
#include "listing/listing_loader.hpp"

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

  // The object is in place before its window exists, so that a handler never
  // finds the program without its main window.
  g_mainWindow = std::make_unique<MainWindow>();
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

int RunApplication(HINSTANCE instance) {
  InstallOutOfMemoryHandler();
  if (StartApplication(instance) == nullptr) AbortApplication("无法创建主窗口，程序将退出。");
  RunMessageLoop();
  RunExitProcessing();
  return 0;
}

MainWindow* TheMainWindow() noexcept { return g_mainWindow.get(); }

void OnFolderDropped(const Text& path, std::wstring_view widePath) {
  // The hook reuses its buffers for the next path: keep copies of our own.
  const Text folder(path);
  const std::wstring wideFolder(widePath);
  MainWindow* window = TheMainWindow();
  if (window == nullptr || !GlobalsExist()) return;
  ListDroppedFolder(folder, window->Edit(), window->Tree(), ThePathList(), wideFolder);
}

void AbortApplication(const char* message) noexcept {
  TheExitCallbacks().Clear();
  FatalError(message);
}

}  // namespace korvane
