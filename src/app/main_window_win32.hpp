#pragma once
// The main window: the program's only window, with its five controls laid
// out from one table (main_window_layout_win32.hpp). It owns every event of
// the window: created, a drop, the two buttons, the tree box's current-item
// change and close, each handled by an On… member. Its window procedure and
// the drop hook's both end an escaping exception in the fatal path.
#include <windows.h>

#include <array>
#include <memory>
#include <vector>

#include "app/edit_control_win32.hpp"
#include "app/main_window_layout_win32.hpp"
#include "common/path_list.hpp"
#include "common/text.hpp"
#include "drop/file_drop_hook_win32.hpp"
#include "listing/listing_loader.hpp"
#include "treebox/tree_view_win32.hpp"

namespace korvane {

class MainWindow {
 public:
  // hook: the variable holding the program's drop hook, registered on the
  // window when it is created; paths: the list every listing appends to.
  // Both outlive the window.
  MainWindow(FileDropHook*& hook, PathList& paths) noexcept : hook_(hook), paths_(paths) {}
  // Destroys the window if it still exists; its messages then no longer reach
  // this object.
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window and its controls in table order, raises the created
  // event, then shows the window. False when the window or a control cannot
  // be created.
  [[nodiscard]] bool Load(HINSTANCE instance);

  // Lists each folder in order, as if they had been dropped together, once
  // the message loop runs (the program's command-line arguments).
  void ListFoldersLater(std::vector<DroppedFolder> folders);

  // The window handle; it keeps its value after the window is destroyed.
  HWND Handle() const noexcept { return window_; }
  HWND ControlWindow(Control control) const noexcept { return controls_[static_cast<int>(control)]; }
  EditBox& Edit() { return *edit_; }
  TreeViewBox& Tree() { return *tree_; }

  // Test seam: the function that shows the export's message box (MessageBoxA
  // unless set; nullptr restores it).
  using MessageBoxFn = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
  void SetMessageBox(MessageBoxFn show) noexcept { showMessage_ = show != nullptr ? show : &::MessageBoxA; }

  // Event handlers.
  void OnWindowCreated();
  void OnFolderDropped(const Text& path, std::wstring_view widePath);
  void OnQueryClicked();
  void OnExportClicked();
  void OnTreeCurrentItemChanged();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static void FolderDropped(void* self, const Text& path, std::wstring_view widePath);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  [[nodiscard]] bool CreateControls(HINSTANCE instance);
  void OnCommand(int id, int code);
  bool OnNotify(const NMHDR& header, LRESULT& result);
  void OnActivate(bool active);
  void OnNextDialogControl(WPARAM wParam, LPARAM lParam);
  void FocusControl(HWND control);
  void OnListGivenFolders();
  // Runs a listing with its progress shown; a listing asked for meanwhile
  // (only messages sent from outside can ask) waits for its turn.
  void RunListingWithProgress(const DroppedFolder* droppedFolder);
  void OnClose();
  void OnDestroy();
  void OnNcDestroy();

  FileDropHook*& hook_;
  PathList& paths_;
  HWND window_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  std::unique_ptr<EditControl> edit_;
  std::unique_ptr<TreeViewBox> tree_;
  HWND lastFocus_ = nullptr;  // the control to give the focus back on activation
  std::vector<DroppedFolder> givenFolders_;
  bool listing_ = false;
  bool closeAsked_ = false;  // a close that came during a listing
  std::vector<DroppedFolder> foldersDroppedMeanwhile_;
  MessageBoxFn showMessage_ = &::MessageBoxA;
};

}  // namespace korvane
