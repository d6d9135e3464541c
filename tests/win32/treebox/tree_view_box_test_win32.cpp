#include "treebox/tree_view_win32.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "unit/treebox/load_rule_cases.hpp"
#include "win32/treebox/tree_view_walk_win32.hpp"

namespace korvane {
namespace {

using treebox_cases::BuildContent;
using treebox_cases::InRecord;
using treebox_walk::FindVisible;
using treebox_walk::ShownItem;
using treebox_walk::VisibleItems;
using treebox_walk::WalkControl;

// The parent forwards WM_NOTIFY to the box, as the main window does.
template <bool kUnicode>
LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    auto* box = reinterpret_cast<TreeViewBox*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (box != nullptr && box->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
  }
  return kUnicode ? DefWindowProcW(window, message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateParent(bool unicode) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (unicode) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentProc<true>;
    wc.hInstance = instance;
    wc.lpszClassName = L"KorvaneTreeTestParentW";
    RegisterClassW(&wc);  // fails harmlessly when already registered
    return CreateWindowExW(0, wc.lpszClassName, L"tree", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 420, nullptr,
                           nullptr, instance, nullptr);
  }
  WNDCLASSA wc{};
  wc.lpfnWndProc = ParentProc<false>;
  wc.hInstance = instance;
  wc.lpszClassName = "KorvaneTreeTestParentA";
  RegisterClassA(&wc);
  return CreateWindowExA(0, wc.lpszClassName, "tree", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 420, nullptr,
                         nullptr, instance, nullptr);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::vector<LPARAM> Params(const std::vector<ShownItem>& items) {
  std::vector<LPARAM> params;
  for (const ShownItem& item : items) params.push_back(item.param);
  return params;
}

// The parent's kind, and the kind of notifications the control sends: the box
// asks for ANSI ones, and the last kind forces Unicode ones on it afterwards.
enum class Setting { kAnsiParent, kUnicodeParent, kUnicodeNotifications };

class TreeViewBoxTest : public ::testing::TestWithParam<Setting> {
 protected:
  // One visible parent of each kind serves every test: hiding or destroying
  // a shown top-level window costs Wine two seconds without a window manager.
  static HWND SharedParent(bool unicode) {
    static HWND parents[2] = {CreateParent(false), CreateParent(true)};
    return parents[unicode ? 1 : 0];
  }

  void SetUp() override {
    parent_ = SharedParent(GetParam() != Setting::kAnsiParent);
    ASSERT_NE(parent_, nullptr);
    const RECT place{7, 8, 567, 368};
    box_ = std::make_unique<TreeViewBox>(parent_, 1001, place,
                                         WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                                         WS_EX_CLIENTEDGE);
    ASSERT_NE(box_->Control(), nullptr);
    if (GetParam() == Setting::kUnicodeNotifications) SendMessageA(Tree(), TVM_SETUNICODEFORMAT, TRUE, 0);
    SetWindowLongPtrA(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box_.get()));
    box_->SetCurrentItemChanged([this](int cause) { causes_.push_back(cause); });
    SetForegroundWindow(parent_);
    SetFocus(Tree());
    Pump();
  }

  void TearDown() override {
    box_.reset();  // the control goes; its parent stays for the next test
    SetWindowLongPtrA(parent_, GWLP_USERDATA, 0);
    Pump();
  }

  HWND Tree() const { return box_->Control(); }
  int ControlCount() const { return static_cast<int>(SendMessageA(Tree(), TVM_GETCOUNT, 0, 0)); }

  void Key(WPARAM key) {
    SendMessageA(Tree(), WM_KEYDOWN, key, 1);
    SendMessageA(Tree(), WM_KEYUP, key, 0xC0000001);
    Pump();
  }

  // A left click at a point of the control. The button-up is queued first:
  // the control waits for it to tell a click from a drag.
  void Click(POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageA(Tree(), WM_LBUTTONUP, 0, where);
    SendMessageA(Tree(), WM_LBUTTONDOWN, MK_LBUTTON, where);
    Pump();
  }

  RECT TextRect(HTREEITEM item) const {
    // TVM_GETITEMRECT takes the item's handle in the RECT it fills.
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);
    SendMessageA(Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }

  // The point of the item's expand button, found by hit-testing its row.
  POINT ButtonOf(HTREEITEM item) const {
    const RECT text = TextRect(item);
    for (LONG x = 0; x < text.left; ++x) {
      TVHITTESTINFO hit{};
      hit.pt = POINT{x, (text.top + text.bottom) / 2};
      SendMessageA(Tree(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.hItem == item && (hit.flags & TVHT_ONITEMBUTTON) != 0) return hit.pt;
    }
    ADD_FAILURE() << "no expand button found";
    return POINT{0, 0};
  }

  HWND parent_ = nullptr;
  std::unique_ptr<TreeViewBox> box_;
  std::vector<int> causes_;
};

// Each case of the load rule through the real control: the contract's reads,
// and what the control itself shows once every branch is expanded.
TEST_P(TreeViewBoxTest, LoadTableAgreesWithTheControl) {
  for (const treebox_cases::LoadCase& c : treebox_cases::LoadRuleCases()) {
    SCOPED_TRACE(c.name);
    box_->WriteContent(BuildContent(c.records, c.tail));
    const int count = static_cast<int>(c.items.size());
    ASSERT_EQ(box_->ItemCount(), count);
    EXPECT_EQ(box_->CurrentItem(), count == 0 ? -1 : 0);
    std::vector<bool> hasChildren(c.items.size(), false);
    for (int i = 0; i < count; ++i) {
      const treebox_cases::OutItem& item = c.items[static_cast<std::size_t>(i)];
      EXPECT_EQ(box_->ItemText(i), item.text) << i;
      EXPECT_EQ(box_->IndentLevel(i), item.depth) << i;
      EXPECT_EQ(box_->ParentIndex(i), item.parent) << i;
      if (item.parent >= 0) hasChildren[static_cast<std::size_t>(item.parent)] = true;
    }

    const std::vector<ShownItem> shown = WalkControl(Tree(), true);
    ASSERT_EQ(shown.size(), c.items.size());
    for (int i = 0; i < count; ++i) {
      const ShownItem& item = shown[static_cast<std::size_t>(i)];
      EXPECT_EQ(item.param, i);
      EXPECT_EQ(item.text, c.items[static_cast<std::size_t>(i)].text) << i;
      EXPECT_EQ(item.depth, c.items[static_cast<std::size_t>(i)].depth) << i;
      EXPECT_EQ(item.hasButton, hasChildren[static_cast<std::size_t>(i)]) << i;
      EXPECT_EQ(item.expanded, hasChildren[static_cast<std::size_t>(i)]) << i;
    }
    // The walk expanded branches; the reads still come out the same.
    EXPECT_EQ(box_->ItemCount(), count);
    EXPECT_EQ(box_->CurrentItem(), count == 0 ? -1 : 0);
  }
  EXPECT_TRUE(causes_.empty());
}

TEST_P(TreeViewBoxTest, ReadsOutsideTheItemsGiveNothing) {
  for (const ByteBuffer& content : {ByteBuffer{}, BuildContent({{"A", 1}, {"B", 2}})}) {
    box_->WriteContent(content);
    for (const int index : {-1, box_->ItemCount(), INT_MIN, INT_MAX}) {
      EXPECT_EQ(box_->IndentLevel(index), 0) << index;
      EXPECT_EQ(box_->ParentIndex(index), -1) << index;
      EXPECT_EQ(box_->ItemText(index), "") << index;
    }
  }
}

// Marked branches are expanded, also one beneath a collapsed item; nothing
// else is, and the control holds only what can be reached.
TEST_P(TreeViewBoxTest, ExpandedBranchesAndOnlyReachableItemsInTheControl) {
  const std::vector<InRecord> records = {
      {"A", 1, kFlagExpanded}, {"B", 2}, {"C", 3},
      {"D", 2, kFlagExpanded}, {"E", 3}, {"F", 1},
      {"G", 2, kFlagExpanded}, {"H", 3}, {"I", 1, kFlagExpanded},
  };
  box_->WriteContent(BuildContent(records));
  EXPECT_EQ(Params(VisibleItems(Tree())), (std::vector<LPARAM>{0, 1, 3, 4, 5, 8}));
  // Top level, A's and D's children, and F's (to reach G) and G's.
  // The top level, A's and D's children, and F's (to reach G) and G's; not
  // B's, which nobody opened.
  EXPECT_EQ(ControlCount(), 3 + 2 + 1 + 1 + 1);
  EXPECT_EQ(box_->CurrentItem(), 0);
  EXPECT_TRUE(causes_.empty());

  const std::vector<ShownItem> inControl = WalkControl(Tree(), false);
  EXPECT_EQ(Params(inControl), (std::vector<LPARAM>{0, 1, 3, 4, 5, 6, 7, 8}));
  std::vector<bool> expanded;
  for (const ShownItem& item : inControl) expanded.push_back(item.expanded);
  EXPECT_EQ(expanded, (std::vector<bool>{true, false, true, false, false, true, false, false}));

  // Opening F shows G already open.
  SendMessageA(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FindVisible(Tree(), 5)));
  Key(VK_RIGHT);
  EXPECT_EQ(Params(VisibleItems(Tree())), (std::vector<LPARAM>{0, 1, 3, 4, 5, 6, 7, 8}));
}

// Bold and the state picture of the record's flags reach the control's items.
TEST_P(TreeViewBoxTest, BoldAndStatePictureFromTheFlags) {
  box_->WriteContent(BuildContent(
      {{"plain", 1}, {"bold", 1, kFlagBold}, {"picture", 1, 3 << kStateImageShift}, {"ignored bits", 1, 0x0FFFFFF0}}));
  const UINT mask = TVIS_BOLD | TVIS_STATEIMAGEMASK;
  const auto state = [&](LPARAM param) {
    return static_cast<UINT>(
        SendMessageA(Tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FindVisible(Tree(), param)), mask));
  };
  EXPECT_EQ(state(0), 0u);
  EXPECT_EQ(state(1), static_cast<UINT>(TVIS_BOLD));
  EXPECT_EQ(state(2), INDEXTOSTATEIMAGEMASK(3));
  EXPECT_EQ(state(3), 0u);
}

TEST_P(TreeViewBoxTest, NoEventDuringWritesButOnUserChanges) {
  const ByteBuffer content = BuildContent({{"A", 1}, {"B", 1}, {"C", 1}, {"D", 1}});
  box_->WriteContent(content);
  EXPECT_TRUE(causes_.empty());
  EXPECT_EQ(box_->CurrentItem(), 0);

  Key(VK_DOWN);
  EXPECT_EQ(causes_, std::vector<int>{0});
  EXPECT_EQ(box_->CurrentItem(), 1);

  const RECT third = TextRect(FindVisible(Tree(), 2));
  Click(POINT{(third.left + third.right) / 2, (third.top + third.bottom) / 2});
  EXPECT_EQ(causes_, (std::vector<int>{0, 1}));
  EXPECT_EQ(box_->CurrentItem(), 2);

  // A programmatic selection through the control counts as "other".
  SendMessageA(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FindVisible(Tree(), 3)));
  EXPECT_EQ(causes_, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(box_->CurrentItem(), 3);

  causes_.clear();
  box_->WriteContent(content);
  EXPECT_EQ(box_->CurrentItem(), 0);
  box_->Clear();
  EXPECT_EQ(box_->CurrentItem(), -1);
  EXPECT_EQ(box_->ItemCount(), 0);
  EXPECT_EQ(ControlCount(), 0);
  box_->WriteContent({});
  EXPECT_EQ(box_->CurrentItem(), -1);
  EXPECT_TRUE(causes_.empty());
}

TEST_P(TreeViewBoxTest, KeyboardOpensBranches) {
  box_->WriteContent(BuildContent({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 2}, {"E", 1}, {"F", 2}, {"G", 3}}));
  EXPECT_EQ(Params(VisibleItems(Tree())), (std::vector<LPARAM>{0, 4}));
  Key(VK_RIGHT);  // A is current
  EXPECT_EQ(Params(VisibleItems(Tree())), (std::vector<LPARAM>{0, 1, 3, 4}));
  Key(VK_DOWN);  // to B
  Key(VK_ADD);
  EXPECT_EQ(Params(VisibleItems(Tree())), (std::vector<LPARAM>{0, 1, 2, 3, 4}));
  EXPECT_EQ(box_->CurrentItem(), 1);
  Key(VK_END);       // to E
  Key(VK_MULTIPLY);  // E and everything beneath it
  EXPECT_EQ(Params(VisibleItems(Tree())), (std::vector<LPARAM>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(box_->CurrentItem(), 4);
  EXPECT_EQ(causes_, (std::vector<int>{0, 0}));
}

// A branch with many children, put in with drawing off, shows all of them in order.
TEST_P(TreeViewBoxTest, KeyboardOpensABranchWithManyChildren) {
  std::vector<InRecord> records = {{"A", 1}};
  for (int i = 0; i < 1000; ++i) records.push_back({"child" + std::to_string(i), 2});
  records.push_back({"B", 1});
  box_->WriteContent(BuildContent(records));
  Key(VK_RIGHT);
  const std::vector<ShownItem> visible = VisibleItems(Tree());
  ASSERT_EQ(visible.size(), records.size());
  for (std::size_t i = 0; i < visible.size(); ++i) {
    EXPECT_EQ(visible[i].param, static_cast<LPARAM>(i));
    EXPECT_EQ(visible[i].text, records[i].text);
  }
  EXPECT_TRUE(causes_.empty());
}

TEST_P(TreeViewBoxTest, MouseOpensABranchByItsButton) {
  box_->WriteContent(BuildContent({{"A", 1}, {"B", 1}, {"C", 2}, {"D", 2}}));
  Click(ButtonOf(FindVisible(Tree(), 1)));
  EXPECT_EQ(Params(VisibleItems(Tree())), (std::vector<LPARAM>{0, 1, 2, 3}));
}

// A branch emptied by a collapse-and-reset gets its children again.
TEST_P(TreeViewBoxTest, BranchRefilledAfterCollapseReset) {
  box_->WriteContent(BuildContent({{"A", 1}, {"B", 2}, {"C", 2}}));
  Key(VK_RIGHT);
  EXPECT_EQ(Params(VisibleItems(Tree())), (std::vector<LPARAM>{0, 1, 2}));
  SendMessageA(Tree(), TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(FindVisible(Tree(), 0)));
  EXPECT_EQ(Params(VisibleItems(Tree())), (std::vector<LPARAM>{0}));
  Key(VK_RIGHT);
  EXPECT_EQ(Params(VisibleItems(Tree())), (std::vector<LPARAM>{0, 1, 2}));
}

// A new write discards what the user opened before.
TEST_P(TreeViewBoxTest, WriteDiscardsOpenedBranches) {
  box_->WriteContent(BuildContent({{"A", 1}, {"B", 2}, {"C", 3}, {"D", 1}}));
  Key(VK_MULTIPLY);
  EXPECT_EQ(ControlCount(), 4);
  box_->WriteContent(BuildContent({{"X", 2}, {"Y", 3}, {"Z", 2}}));
  EXPECT_EQ(ControlCount(), 2);
  const std::vector<ShownItem> shown = WalkControl(Tree(), true);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, "X");
  EXPECT_EQ(shown[1].text, "Y");
  EXPECT_EQ(shown[2].text, "Z");
  EXPECT_EQ(box_->CurrentItem(), 0);
}

// Texts in code page 936, among them characters whose second byte is 0x5C,
// reach the control unchanged, in ANSI and in UTF-16.
TEST_P(TreeViewBoxTest, DoubleByteTextsShowUnchanged) {
  ASSERT_EQ(GetACP(), 936u) << "the test needs code page 936";
  const std::string texts[] = {"目录生成.txt", "表格", "\xB1\x5C\xB8\xF1", "a\\b"};
  std::vector<InRecord> records;
  for (const std::string& text : texts) records.push_back({text, 1});
  box_->WriteContent(BuildContent(records));
  const std::vector<ShownItem> shown = WalkControl(Tree(), false);
  ASSERT_EQ(shown.size(), 4u);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    EXPECT_EQ(box_->ItemText(static_cast<int>(i)), texts[i]);
    EXPECT_EQ(shown[i].text, texts[i]);
    wchar_t wide[64] = {};
    TVITEMW item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT;
    item.hItem = FindVisible(Tree(), static_cast<LPARAM>(i));
    item.pszText = wide;
    item.cchTextMax = 64;
    SendMessageW(Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    wchar_t expected[64] = {};
    MultiByteToWideChar(936, 0, texts[i].data(), static_cast<int>(texts[i].size()), expected, 64);
    EXPECT_EQ(std::wstring(wide), std::wstring(expected)) << i;
  }
}

TEST_P(TreeViewBoxTest, LongTextComesBackWhole) {
  std::string longText;
  for (int i = 0; i < 300; ++i) longText.push_back(static_cast<char>('a' + i % 26));
  box_->WriteContent(BuildContent({{longText, 1}, {"B", 1}}));
  EXPECT_EQ(box_->ItemText(0), longText);
  // The control may cut what it draws; what it shows is the text's beginning.
  const std::vector<ShownItem> shown = WalkControl(Tree(), false);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_FALSE(shown[0].text.empty());
  EXPECT_EQ(longText.compare(0, shown[0].text.size(), shown[0].text), 0);
  std::printf("the control shows %zu of the 300 bytes\n", shown[0].text.size());
}

INSTANTIATE_TEST_SUITE_P(Settings, TreeViewBoxTest,
                         ::testing::Values(Setting::kAnsiParent, Setting::kUnicodeParent,
                                           Setting::kUnicodeNotifications),
                         [](const ::testing::TestParamInfo<Setting>& info) {
                           switch (info.param) {
                             case Setting::kAnsiParent:
                               return std::string("AnsiParent");
                             case Setting::kUnicodeParent:
                               return std::string("UnicodeParent");
                             default:
                               return std::string("UnicodeNotifications");
                           }
                         });

}  // namespace
}  // namespace korvane
