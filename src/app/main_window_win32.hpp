#pragma once
// The main window: the program's only window, with its five controls laid
// out from one table (main_window_layout_win32.hpp).
#include <windows.h>

#include <array>
#include <memory>

#include "app/edit_control_win32.hpp"
#include "treebox/tree_view_win32.hpp"

namespace korvane {

// The controls under their form names, in creation order, which is also the
// tab order.
enum class Control { 编辑框1, 标签1, 按钮2, 按钮1, 树型框1 };
inline constexpr int kControlCount = 5;

class MainWindow {
 public:
  MainWindow() = default;
  // Destroys the window if it still exists; its messages then no longer reach
  // this object.
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window and its controls in table order, raises the created
  // event, then shows the window. False when the window or a control cannot
  // be created.
  [[nodiscard]] bool Load(HINSTANCE instance);

  // The window handle; it keeps its value after the window is destroyed.
  HWND Handle() const noexcept { return window_; }
  HWND ControlWindow(Control control) const noexcept { return controls_[static_cast<int>(control)]; }
  EditBox& Edit() { return *edit_; }
  TreeViewBox& Tree() { return *tree_; }

  // Event handlers, bound through the layout table and the created event.
  void OnWindowCreated();
  void OnQueryClicked();
  void OnExportClicked();
  void OnTreeCurrentItemChanged();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  [[nodiscard]] bool CreateControls(HINSTANCE instance);
  void OnCommand(int id, int code);
  bool OnNotify(const NMHDR& header, LRESULT& result);
  void OnActivate(bool active);
  void OnNextDialogControl(WPARAM wParam, LPARAM lParam);
  void FocusControl(HWND control);
  void OnClose();
  void OnDestroy();
  void OnNcDestroy();

  HWND window_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  std::unique_ptr<EditControl> edit_;
  std::unique_ptr<TreeViewBox> tree_;
  HWND lastFocus_ = nullptr;  // the control to give the focus back on activation
};

}  // namespace korvane
