#include "app/main_window_win32.hpp"

#include <utility>

#include "app/listing_progress_win32.hpp"
#include "common/exception_barrier.hpp"
#include "export/listing_export_win32.hpp"
#include "listing/listing_loader.hpp"

namespace korvane {
namespace {

constexpr char kWindowClassName[] = "KorvaneMainWindow";

// Posted by ListFoldersLater, so that the folders are listed inside the
// message loop, like a drop.
constexpr UINT kListGivenFolders = WM_APP + 1;

// The buttons' click events.
struct ClickHandler {
  Control button;
  void (MainWindow::*handler)();
};
constexpr ClickHandler kClickHandlers[] = {
    {Control::按钮2, &MainWindow::OnExportClicked},
    {Control::按钮1, &MainWindow::OnQueryClicked},
};

// The export's report: one OK button, no icon; no owner, so task-modal keeps
// the thread's windows from taking input until the box is closed.
constexpr char kExportCaption[] = "信息：";
constexpr char kExportWritten[] = "导出成功！文件在桌面";
constexpr char kExportFailed[] = "导出失败！无法写入文件：";
constexpr UINT kExportBoxStyle = MB_OK | MB_TASKMODAL;

[[nodiscard]] bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance, kWindowClassName, &existing)) return true;

  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = kWindowClassName;
  return RegisterClassExA(&windowClass) != 0;
}

RECT ToRect(const Place& place) noexcept {
  return RECT{place.left, place.top, place.left + place.width, place.top + place.height};
}

}  // namespace

MainWindow::~MainWindow() {
  if (window_ != nullptr && IsWindow(window_) &&
      GetWindowLongPtrA(window_, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool MainWindow::Load(HINSTANCE instance) {
  if (!RegisterWindowClass(instance, &MainWindow::WindowProc)) return false;

  const WindowLayout& layout = kMainWindowLayout;
  // Centred on the primary screen, with integer division.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - layout.width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - layout.height) / 2;
  const HWND window = CreateWindowExA(layout.exStyle, kWindowClassName, layout.caption, layout.style, left, top,
                                      layout.width, layout.height, nullptr, nullptr, instance, this);
  if (window == nullptr) return false;
  if (!CreateControls(instance)) return false;

  OnWindowCreated();
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  return true;
}

bool MainWindow::CreateControls(HINSTANCE instance) {
  const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
  for (const ControlLayout& layout : kMainWindowControls) {
    const DWORD style = WS_CHILD | WS_VISIBLE | layout.style | (layout.tabStop ? WS_TABSTOP : 0);
    const int id = ControlId(layout.control);
    HWND control = nullptr;
    if (layout.kind == ControlKind::TreeBox) {
      tree_ = std::make_unique<TreeViewBox>(window_, id, ToRect(layout.place), style, layout.exStyle);
      control = tree_->Control();
      tree_->SetCurrentItemChanged([this](int /*cause*/) { OnTreeCurrentItemChanged(); });
    } else {
      control = CreateWindowExA(layout.exStyle, ControlClassName(layout.kind), layout.text, style, layout.place.left,
                                layout.place.top, layout.place.width, layout.place.height, window_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    }
    if (control == nullptr) return false;
    controls_[static_cast<int>(layout.control)] = control;
    SendMessageA(control, WM_SETFONT, font, FALSE);
    if (layout.kind == ControlKind::EditBox) {
      // 0: as long a text as the system allows, not the default 30,000 bytes.
      SendMessageA(control, EM_SETLIMITTEXT, 0, 0);
      edit_ = std::make_unique<EditControl>(control);
    }
  }
  return edit_ != nullptr && tree_ != nullptr;
}

void MainWindow::ListFoldersLater(std::vector<DroppedFolder> folders) {
  if (folders.empty()) return;
  givenFolders_ = std::move(folders);
  PostMessageA(window_, kListGivenFolders, 0, 0);
}

void MainWindow::OnWindowCreated() { RegisterFileDropHook(&hook_, window_, &MainWindow::FolderDropped, this); }

void MainWindow::FolderDropped(void* self, const Text& path, std::wstring_view widePath) {
  static_cast<MainWindow*>(self)->OnFolderDropped(path, widePath);
}

void MainWindow::OnFolderDropped(const Text& path, std::wstring_view widePath) {
  // The hook reuses its buffers for the next path: keep copies of our own.
  const DroppedFolder folder{path, std::wstring(widePath)};
  RunListingWithProgress(&folder);
}

void MainWindow::RunListingWithProgress(const DroppedFolder* droppedFolder) {
  if (listing_) {
    if (droppedFolder != nullptr) foldersDroppedMeanwhile_.push_back(*droppedFolder);
    return;
  }
  listing_ = true;
  {
    const ListingProgress progress(ControlWindow(Control::标签1), paths_);
    if (droppedFolder != nullptr) {
      ListDroppedFolder(droppedFolder->path, Edit(), Tree(), paths_, droppedFolder->widePath);
    } else {
      RunListing(Edit(), Tree(), paths_);
    }
    while (!foldersDroppedMeanwhile_.empty()) {
      const DroppedFolder next = std::move(foldersDroppedMeanwhile_.front());
      foldersDroppedMeanwhile_.erase(foldersDroppedMeanwhile_.begin());
      ListDroppedFolder(next.path, Edit(), Tree(), paths_, next.widePath);
    }
  }
  listing_ = false;
  if (closeAsked_) OnClose();
}

void MainWindow::OnListGivenFolders() {
  const std::vector<DroppedFolder> folders = std::exchange(givenFolders_, {});
  for (const DroppedFolder& folder : folders) OnFolderDropped(folder.path, folder.widePath);
}

void MainWindow::OnQueryClicked() {
  // A click sent from outside during a listing is dropped; the user's own
  // clicks wait in the queue until the listing ends.
  if (!listing_) RunListingWithProgress(nullptr);
}

void MainWindow::OnExportClicked() {
  if (listing_) return;  // only a click sent from outside can come now
  const ExportOutcome outcome = ExportListing(Tree());
  const Text message = outcome.written ? Text(kExportWritten) : kExportFailed + outcome.fileName;
  showMessage_(nullptr, message.c_str(), kExportCaption, kExportBoxStyle);
}

void MainWindow::OnTreeCurrentItemChanged() {
  // The form binds this event but does nothing with it: read the tree, change nothing.
  static_cast<void>(Tree().CurrentItem());
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return CallWithExceptionBarrier([&] { return self->HandleMessage(message, wParam, lParam); });
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
      break;
    }
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_NEXTDLGCTL:
      OnNextDialogControl(wParam, lParam);
      return 0;
    case WM_HELP:
      return TRUE;  // F1 does nothing
    case kListGivenFolders:
      OnListGivenFolders();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy();
      break;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

void MainWindow::OnCommand(int id, int code) {
  switch (id) {
    case IDCANCEL:  // Esc, through the dialog keys
      SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case IDOK:  // Enter: no default button, nothing happens
      return;
    default:
      break;
  }
  if (code != BN_CLICKED) return;
  for (const ClickHandler& click : kClickHandlers) {
    if (ControlId(click.button) == id) (this->*click.handler)();
  }
}

bool MainWindow::OnNotify(const NMHDR& header, LRESULT& result) {
  if (tree_ != nullptr && header.hwndFrom == tree_->Control()) return tree_->OnNotify(header, result);
  return false;
}

void MainWindow::OnActivate(bool active) {
  // Like a dialog: the focus goes back to the control that had it, or to the
  // first tab stop, never to the window itself.
  if (!active) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
    return;
  }
  HWND target = lastFocus_;
  if (target == nullptr || !IsWindow(target)) target = GetNextDlgTabItem(window_, nullptr, FALSE);
  if (target != nullptr) SetFocus(target);
}

void MainWindow::OnNextDialogControl(WPARAM wParam, LPARAM lParam) {
  // Sent by the dialog-key handling of the message loop for Tab (wParam 0)
  // and Shift+Tab (wParam 1); LOWORD(lParam) set: wParam is the control.
  HWND target = nullptr;
  if (LOWORD(lParam) != 0) {
    target = reinterpret_cast<HWND>(wParam);
  } else {
    HWND focus = GetFocus();
    if (focus != nullptr && !IsChild(window_, focus)) focus = nullptr;
    target = GetNextDlgTabItem(window_, focus, wParam != 0);
  }
  if (target != nullptr) FocusControl(target);
}

void MainWindow::FocusControl(HWND control) {
  SetFocus(control);
  // As in a dialog, an edit box reached by Tab has its whole text selected.
  if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
}

void MainWindow::OnClose() {
  // No confirmation and nothing can refuse; a close sent during a listing
  // waits for its end, so the listing never outlives its controls.
  if (listing_) {
    closeAsked_ = true;
    return;
  }
  DestroyWindow(window_);
}

void MainWindow::OnDestroy() {
  // The main window is the program's only window: its end ends the loop.
  PostQuitMessage(0);
}

void MainWindow::OnNcDestroy() { SetWindowLongPtrA(window_, GWLP_USERDATA, 0); }

}  // namespace korvane
