#include <windows.h>
#include <commctrl.h>

#include "export/file_handle_win32.hpp"
#include "export/replace_file_win32.hpp"
#include "export_bench_platform.hpp"
#include "treebox/tree_view_win32.hpp"

namespace korvane::bench {
namespace {

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    auto* box = reinterpret_cast<TreeViewBox*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (box != nullptr && box->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeParent() {
  static const HWND parent = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KorvaneExportBench";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "export bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 580, 455,
                           nullptr, nullptr, wc.hInstance, nullptr);
  }();
  return parent;
}

// The box and its parent, as on the main window.
class WindowedTree final : public TreeBox {
 public:
  WindowedTree()
      : box_(MakeParent(), 1, RECT{7, 8, 567, 368},
             WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, WS_EX_CLIENTEDGE) {
    SetWindowLongPtrA(MakeParent(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box_));
  }
  void WriteContent(const ByteBuffer& content) override { box_.WriteContent(content); }
  void Clear() override { box_.Clear(); }
  int ItemCount() const override { return box_.ItemCount(); }
  int IndentLevel(int index) const override { return box_.IndentLevel(index); }
  Text ItemText(int index) const override { return box_.ItemText(index); }
  int ParentIndex(int index) const override { return box_.ParentIndex(index); }
  int CurrentItem() const override { return box_.CurrentItem(); }

 private:
  TreeViewBox box_;
};

}  // namespace

std::unique_ptr<TreeBox> MakeBenchTree() { return std::make_unique<WindowedTree>(); }
const char* BenchTreeName() { return "TreeView box"; }

bool WriteInOnePiece(const std::string& name, std::string_view bytes) {
  UniqueFileHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool HasProgramWrite() { return true; }
bool WriteAsTheProgramDoes(const std::string& name, std::string_view bytes) { return ReplaceFileContent(name, bytes); }

}  // namespace korvane::bench
