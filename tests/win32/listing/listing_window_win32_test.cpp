// The listing on the real main window: 编辑框1 names a folder, a click of
// 按钮1 lists it, and the tree box shows what a walk of the folder finds,
// read through the tree box contract and from the TreeView control itself.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/message_loop_win32.hpp"
#include "export/export_text.hpp"
#include "fixture_win32.hpp"
#include "listing/listing_loader.hpp"
#include "listing/path_split.hpp"
#include "win32/support/app_session_win32.hpp"
#include "win32/support/window_read_win32.hpp"

namespace korvane {
namespace {

using testing::ControlItemText;
using testing::NextItem;
using testing::SpareDrive;
using testing::WindowText;
using testing::WinTree;

// One line per item: two spaces per level below the top, then the text.
using Lines = std::vector<std::string>;

Lines ContractLines(const TreeBox& tree) {
  Lines lines;
  for (int i = 0; i < tree.ItemCount(); ++i) {
    lines.push_back(std::string(2 * static_cast<std::size_t>(tree.IndentLevel(i) - 1), ' ') + tree.ItemText(i));
  }
  return lines;
}

Lines ControlLines(HWND tree) {
  Lines lines;
  for (const testing::ControlLine& line : testing::ExpandAndReadControl(tree)) {
    lines.push_back(std::string(2 * static_cast<std::size_t>(line.depth), ' ') + line.text);
  }
  // With every branch open, the visible items run in the same order.
  std::size_t visible = 0;
  for (HTREEITEM item = NextItem(tree, nullptr, TVGN_ROOT); item != nullptr;
       item = NextItem(tree, item, TVGN_NEXTVISIBLE)) {
    if (visible < lines.size()) {
      EXPECT_EQ(lines[visible].substr(lines[visible].find_first_not_of(' ')), ControlItemText(tree, item));
    }
    ++visible;
  }
  EXPECT_EQ(visible, lines.size());
  return lines;
}

// The lines a listing of root should show, from a walk of the folder through
// the wide functions.
Lines WalkedLines(const Text& root) {
  std::vector<Text> entries;
  testing::WalkWide(testing::Wide(root), "", entries);
  Lines lines;
  for (const Text& entry : entries) {
    const PathTail tail = LastPathSegment(entry);
    lines.push_back(std::string(2 * (tail.count - 1), ' ') + std::string(tail.last));
  }
  return lines;
}

class ListingWindowTest : public testing::RunningApplication {
 protected:
  // Writes path into 编辑框1 and clicks 按钮1.
  void Query(const Text& path) {
    SetWindowTextA(window_->ControlWindow(Control::编辑框1), path.c_str());
    SendMessageA(window_->ControlWindow(Control::按钮1), BM_CLICK, 0, 0);
    ASSERT_TRUE(PumpPendingMessages());
  }

  HWND TreeControl() const { return window_->ControlWindow(Control::树型框1); }

  // The tree read both ways must agree, and the first item is current.
  Lines Shown() {
    const Lines viaContract = ContractLines(window_->Tree());
    EXPECT_EQ(ControlLines(TreeControl()), viaContract);
    if (!viaContract.empty()) {
      EXPECT_EQ(window_->Tree().CurrentItem(), 0);
      EXPECT_EQ(NextItem(TreeControl(), nullptr, TVGN_CARET), NextItem(TreeControl(), nullptr, TVGN_ROOT));
    }
    return viaContract;
  }
};

TEST_F(ListingWindowTest, QueryButtonShowsTheWalkedTree) {
  WinTree tree("窗口");
  tree.File("资料\\二级\\三级\\深.txt");
  tree.File("资料\\二级\\说明.txt");
  tree.File("资料\\表格.xls");
  tree.Folder("空文件夹");
  tree.File("图片\\照片.jpg");
  tree.File("隐藏.txt", FILE_ATTRIBUTE_HIDDEN);
  tree.File("readme.txt");

  Query(tree.Root());

  const Lines expected = WalkedLines(tree.Root());
  ASSERT_EQ(expected.size(), 11u);
  EXPECT_EQ(Shown(), expected);
  EXPECT_EQ(WindowText(window_->ControlWindow(Control::编辑框1)), tree.Root());
  EXPECT_EQ(ThePathList().Count(), expected.size());
}

TEST_F(ListingWindowTest, DriveRootEntriesAreOneBelowTheDrive) {
  const Text drive = SpareDrive() + "\\";
  Query(drive);
  EXPECT_EQ(Shown(), (Lines{"sub", "  inner.txt", "top.txt"}));
  ASSERT_EQ(ThePathList().Count(), 3u);
  EXPECT_EQ(LastPathSegment(ThePathList().At(0)).count, 2u);  // K: and sub
  EXPECT_EQ(LastPathSegment(ThePathList().At(1)).count, 3u);
  EXPECT_EQ(LastPathSegment(ThePathList().At(2)).count, 2u);
}

TEST_F(ListingWindowTest, FileOrMissingPathShowsOnlyEarlierListings) {
  WinTree tree("早先");
  tree.File("文件夹\\里面.txt");
  tree.File("外面.txt");

  Query(tree.Root() + "\\外面.txt");  // a file on a fresh start: nothing
  EXPECT_EQ(Shown(), Lines{});
  EXPECT_EQ(window_->Tree().CurrentItem(), -1);

  Query(tree.Root());
  const Lines once = Shown();
  EXPECT_EQ(once, WalkedLines(tree.Root()));
  for (const Text& path : {tree.Root() + "\\外面.txt", tree.Root() + "\\没有"}) {
    SCOPED_TRACE(path);
    Query(path);
    EXPECT_EQ(Shown(), once);
  }

  // The same folder again: everything twice, the first listing first.
  Query(tree.Root());
  Lines twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(Shown(), twice);
}

TEST_F(ListingWindowTest, DroppedFolderIsWrittenToTheEditBoxFirst) {
  WinTree tree("拖放");
  tree.File("一\\二.txt");
  ListDroppedFolder(tree.Root(), window_->Edit(), window_->Tree(), ThePathList());
  EXPECT_EQ(WindowText(window_->ControlWindow(Control::编辑框1)), tree.Root());
  EXPECT_EQ(Shown(), (Lines{"一", "  二.txt"}));
}

// A dropped folder whose own name is outside code page 936, holding more
// such names: the edit box holds its ANSI text, the tree shows every entry
// under its ANSI name, and the export has one line per entry.
TEST_F(ListingWindowTest, DroppedFolderOutsideTheCodePageIsListedWhole) {
  WinTree tree("外文拖放");
  const std::wstring name = L"Motörhead 한국어";
  tree.WideFolder(name);
  tree.WideFolder(name + L"\\Ő");
  tree.WideFile(name + L"\\Ő\\ñ.txt");
  tree.WideFile(name + L"\\普通.txt");
  const std::wstring wide = testing::Wide(tree.Root()) + L"\\" + name;
  const Text ansi = testing::Ansi(wide);

  ListDroppedFolder(ansi, window_->Edit(), window_->Tree(), ThePathList(), wide);

  EXPECT_EQ(WindowText(window_->ControlWindow(Control::编辑框1)), ansi);
  const Lines expected = {"?", "  ?.txt", "普通.txt"};
  EXPECT_EQ(Shown(), expected);
  EXPECT_EQ(BuildExportText(window_->Tree()), "----?\r\n--------?.txt\r\n----普通.txt");
}

}  // namespace
}  // namespace korvane
