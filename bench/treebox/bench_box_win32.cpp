#include <windows.h>
#include <commctrl.h>

#include "bench_box.hpp"
#include "support/windowed_tree_box_win32.hpp"

namespace korvane::bench {
namespace {

// The peers' controls share one parent window for the whole run: destroying
// a shown window costs Wine seconds.
HWND PeerParent() {
  static const HWND parent = MakeNotifyingParent("tree box bench peers");
  return parent;
}

// A plain TreeView beside the box, created and destroyed per measurement.
class PlainTree {
 public:
  PlainTree()
      : tree_(CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "", TreeBoxStyle(), TreeBoxPlace().left,
                              TreeBoxPlace().top, TreeBoxPlace().right - TreeBoxPlace().left,
                              TreeBoxPlace().bottom - TreeBoxPlace().top, PeerParent(), nullptr,
                              GetModuleHandleA(nullptr), nullptr)) {
    SendMessageA(tree_, WM_SETREDRAW, FALSE, 0);
  }
  ~PlainTree() { DestroyWindow(tree_); }

  // Drawing back on, after which the control lays out every item it holds.
  void RedrawOn() { SendMessageA(tree_, WM_SETREDRAW, TRUE, 0); }
  PlainTree(const PlainTree&) = delete;
  PlainTree& operator=(const PlainTree&) = delete;

  HTREEITEM Insert(HTREEITEM parent, std::string_view text) {
    std::string copy(text);
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = copy.data();
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  }

 private:
  HWND tree_;
};

}  // namespace

std::unique_ptr<TreeBox> MakeBenchBox() { return std::make_unique<WindowedTreeBox>("tree box bench"); }

const char* BenchBoxName() { return "TreeView box (TreeViewBox)"; }
std::size_t BenchBoxMemoryBytes(const TreeBox&) { return 0; }

std::vector<PeerTime> MeasureControlPeers(const Names& names, const std::vector<std::int32_t>& levels) {
  std::vector<PeerTime> peers;
  const int count = static_cast<int>(levels.size());
  {
    // What the box's write costs the control at least: its top-level items,
    // with drawing off, and drawing back on. Any item at the first record's
    // level is top-level in these contents.
    PlainTree tree;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
      const auto slot = static_cast<std::size_t>(i);
      if (levels[slot] == levels[0]) tree.Insert(TVI_ROOT, names.At(slot));
    }
    tree.RedrawOn();
    peers.push_back({"TVM_INSERTITEM of the top-level items only, then WM_SETREDRAW on", SecondsSince(start) / count});
  }
  if (count <= 100000) {
    // Every item inserted nested, as a control that held the whole tree
    // would need; it grows with the square of the count, so only the
    // smaller sizes.
    PlainTree tree;
    std::vector<HTREEITEM> path;  // the open item at each depth
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::int32_t> openLevels;
    for (int i = 0; i < count; ++i) {
      const std::int32_t level = levels[static_cast<std::size_t>(i)];
      while (!openLevels.empty() && openLevels.back() >= level) {
        openLevels.pop_back();
        path.pop_back();
      }
      const HTREEITEM parent = path.empty() ? TVI_ROOT : path.back();
      path.push_back(tree.Insert(parent, names.At(static_cast<std::size_t>(i))));
      openLevels.push_back(level);
    }
    tree.RedrawOn();
    peers.push_back({"TVM_INSERTITEM of every item, nested", SecondsSince(start) / count});
  }
  return peers;
}

}  // namespace korvane::bench
