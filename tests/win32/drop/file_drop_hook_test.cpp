// The drop hook on a window of the test's own: real WM_DROPFILES messages
// through the real x64 stub, the previous procedure behind it, and the
// message-filter decision under the Windows version the prefix reports.
#include "drop/file_drop_hook_win32.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/declared_functions_win32.hpp"
#include "drop/wnd_proc_stub.hpp"
#include "win32/drop/drop_test_support_win32.hpp"

namespace korvane {
namespace {

using test::MakeAnsiDrop;
using test::PumpMessages;

constexpr UINT kCustomMessage = WM_APP + 7;
constexpr LRESULT kCustomResult = static_cast<LRESULT>(0x1234567890ABCDEFULL);

std::vector<Text> gDroppedPaths;
std::vector<std::wstring> gDroppedWidePaths;
// The callback of the tests' hook: context is the list to record into; the
// UTF-16 forms go to gDroppedWidePaths.
void RecordPath(void* context, const Text& path, std::wstring_view widePath) {
  static_cast<std::vector<Text>*>(context)->push_back(path);
  gDroppedWidePaths.emplace_back(widePath);
}
// The second window's callback: a different routine, so that a stub bound to
// the wrong hook shows.
std::vector<Text> gOtherPaths;
void RecordOtherPath(void* context, const Text& path, std::wstring_view /*widePath*/) {
  static_cast<std::vector<Text>*>(context)->push_back("other:" + path);
}

struct SeenMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<SeenMessage> gCustomSeen;
int gDropsAtWindowProc = 0;
constexpr LRESULT kOtherResult = 77;

// The window's own procedure: the one the hook replaces and passes on to.
LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCustomMessage) {
    gCustomSeen.push_back({window, message, wParam, lParam});
    return kCustomResult;
  }
  if (message == WM_DROPFILES) {
    ++gDropsAtWindowProc;
    DragFinish(reinterpret_cast<HDROP>(wParam));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The second window's own procedure: another result for the custom message.
LRESULT CALLBACK OtherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCustomMessage) return kOtherResult;
  return DefWindowProcA(window, message, wParam, lParam);
}

int gDragFinishCalls = 0;
void WINAPI CountingDragFinish(HDROP drop) {
  ++gDragFinishCalls;
  DragFinish(drop);
}

struct AllocCall {
  LPVOID address;
  SIZE_T size;
  DWORD type;
  DWORD protection;
  LPVOID result;
};
std::vector<AllocCall> gAllocCalls;
LPVOID WINAPI RecordingVirtualAlloc(LPVOID address, SIZE_T size, DWORD type, DWORD protection) {
  LPVOID result = VirtualAlloc(address, size, type, protection);
  gAllocCalls.push_back({address, size, type, protection, result});
  return result;
}
LPVOID WINAPI FailingVirtualAlloc(LPVOID address, SIZE_T size, DWORD type, DWORD protection) {
  gAllocCalls.push_back({address, size, type, protection, nullptr});
  return nullptr;
}

std::vector<std::pair<UINT, DWORD>> gFilterCalls;
BOOL WINAPI RecordingChangeWindowMessageFilter(UINT message, DWORD flag) {
  gFilterCalls.emplace_back(message, flag);
  return TRUE;
}

class FileDropHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gDroppedPaths.clear();
    gOtherPaths.clear();
    gDroppedWidePaths.clear();
    gCustomSeen.clear();
    gDropsAtWindowProc = 0;
    gDragFinishCalls = 0;
    gAllocCalls.clear();
    gFilterCalls.clear();
    // The message filter is looked at in its own test; here it is only kept
    // from touching the session.
    declared::ChangeWindowMessageFilter.Override(&RecordingChangeWindowMessageFilter);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &OwnWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KorvaneDropTestWindow";
    RegisterClassA(&windowClass);  // already registered by an earlier test: fine
    window_ = CreateWindowExA(0, "KorvaneDropTestWindow", "drop test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    hook_ = CreateFileDropHook();
  }

  void TearDown() override {
    DestroyFileDropHook(&hook_);
    if (window_ != nullptr) DestroyWindow(window_);
    PumpMessages();
    declared::ChangeWindowMessageFilter.Override(nullptr);
    declared::DragFinish.Override(nullptr);
    declared::VirtualAlloc.Override(nullptr);
  }

  WNDPROC CurrentProc() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window_, GWLP_WNDPROC)); }
  bool AcceptsFiles() const { return (GetWindowLongPtrA(window_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

  void PostDrop(const std::vector<std::string>& paths) {
    HDROP drop = MakeAnsiDrop(paths);
    ASSERT_NE(drop, nullptr);
    ASSERT_TRUE(PostMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
    PumpMessages();
  }

  HWND window_ = nullptr;
  FileDropHook* hook_ = nullptr;  // the variable the hook's operations are given
};

TEST_F(FileDropHookTest, StartsUnregistered) {
  ASSERT_NE(hook_, nullptr);
  EXPECT_EQ(hook_->Window, nullptr);
  EXPECT_EQ(hook_->PreviousProc, nullptr);
  EXPECT_EQ(hook_->Callback, nullptr);
}

TEST_F(FileDropHookTest, RegisterPutsAStubInPlaceAndAcceptsDrops) {
  declared::VirtualAlloc.Override(&RecordingVirtualAlloc);
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);

  EXPECT_EQ(hook_->Window, window_);
  EXPECT_EQ(hook_->Callback, &RecordPath);
  EXPECT_EQ(hook_->Context, &gDroppedPaths);
  EXPECT_EQ(hook_->PreviousProc, &OwnWindowProc);
  EXPECT_TRUE(AcceptsFiles());
  ASSERT_EQ(gAllocCalls.size(), 1u);
  EXPECT_EQ(gAllocCalls[0].address, nullptr);
  EXPECT_EQ(gAllocCalls[0].size, 4096u);
  EXPECT_EQ(gAllocCalls[0].type, static_cast<DWORD>(MEM_COMMIT));
  EXPECT_EQ(gAllocCalls[0].protection, static_cast<DWORD>(PAGE_EXECUTE_READWRITE));
  EXPECT_EQ(reinterpret_cast<void*>(CurrentProc()), gAllocCalls[0].result) << "the stub starts the block";
}

TEST_F(FileDropHookTest, TheWrittenStubIsExecuteReadOnly) {
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  MEMORY_BASIC_INFORMATION block = {};
  ASSERT_NE(VirtualQuery(reinterpret_cast<const void*>(CurrentProc()), &block, sizeof block), 0u);
  EXPECT_EQ(block.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ)) << "the stub's page stayed writable";
  EXPECT_GE(block.RegionSize, 4096u);
  PostDrop({"C:\\still works"});
  EXPECT_EQ(gDroppedPaths, std::vector<Text>{"C:\\still works"});
}

TEST_F(FileDropHookTest, DeliversDroppedPathsInIndexOrder) {
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  const std::vector<std::string> paths = {"C:\\first", "Z:\\tmp\\\xD6\xD0\xCE\xC4\\second", "C:\\third\\file.txt"};
  PostDrop(paths);
  EXPECT_EQ(gDroppedPaths, paths);
  EXPECT_EQ(gDropsAtWindowProc, 0) << "the drop is the hook's, not the window's";
}

// A path from a shell that speaks UTF-16 reaches the callback twice over: as
// ANSI text, with "?" for what code page 936 cannot hold, and whole in
// UTF-16. An ANSI drop gives the UTF-16 form of its text.
TEST_F(FileDropHookTest, EachPathAlsoArrivesInUtf16) {
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  const std::wstring foreign = L"Z:\\tmp\\Mot\u00f6rhead \ud55c\\\u4e2d\u6587";
  HDROP drop = test::MakeWideDrop({foreign, L"C:\\plain"});
  ASSERT_NE(drop, nullptr);
  ASSERT_TRUE(PostMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
  PumpMessages();
  EXPECT_EQ(gDroppedPaths, (std::vector<Text>{"Z:\\tmp\\Mot?rhead ?\\\xD6\xD0\xCE\xC4", "C:\\plain"}));
  EXPECT_EQ(gDroppedWidePaths, (std::vector<std::wstring>{foreign, L"C:\\plain"}));

  PostDrop({"Z:\\\xD6\xD0\xCE\xC4"});
  ASSERT_EQ(gDroppedWidePaths.size(), 3u);
  EXPECT_EQ(gDroppedWidePaths[2], L"Z:\\\u4e2d\u6587");
}

TEST_F(FileDropHookTest, ADropWithoutItemsCallsNothingAndIsStillFinished) {
  declared::DragFinish.Override(&CountingDragFinish);
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  PostDrop({});
  EXPECT_TRUE(gDroppedPaths.empty());
  EXPECT_EQ(gDragFinishCalls, 1);

  PostDrop({"C:\\one", "C:\\two"});
  EXPECT_EQ(gDragFinishCalls, 2) << "one DragFinish per drop";
}

TEST_F(FileDropHookTest, LongPathsArriveWhole) {
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  std::string path999 = "C:\\";
  while (path999.size() < 999) path999 += path999.size() % 50 == 0 ? '\\' : 'a';
  std::string path1500 = "Z:\\\xD6\xD0\xCE\xC4";
  while (path1500.size() < 1500) path1500 += path1500.size() % 64 == 0 ? '\\' : 'b';
  ASSERT_EQ(path999.size(), 999u);
  ASSERT_EQ(path1500.size(), 1500u);
  PostDrop({path1500, path999, "C:\\short"});
  EXPECT_EQ(gDroppedPaths, (std::vector<Text>{path1500, path999, "C:\\short"}));
}

TEST_F(FileDropHookTest, OtherMessagesReachThePreviousProcedureUnchanged) {
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  const auto wParam = static_cast<WPARAM>(0xFEDCBA9876543210ULL);
  const auto lParam = static_cast<LPARAM>(0x8000000012345678ULL);
  EXPECT_EQ(SendMessageA(window_, kCustomMessage, wParam, lParam), kCustomResult);
  ASSERT_EQ(gCustomSeen.size(), 1u);
  EXPECT_EQ(gCustomSeen[0].window, window_);
  EXPECT_EQ(gCustomSeen[0].message, kCustomMessage);
  EXPECT_EQ(gCustomSeen[0].wParam, wParam);
  EXPECT_EQ(gCustomSeen[0].lParam, lParam);

  // Also through the message queue, and for the window's own text.
  ASSERT_TRUE(PostMessageA(window_, kCustomMessage, 1, 2));
  PumpMessages();
  ASSERT_EQ(gCustomSeen.size(), 2u);
  EXPECT_EQ(gCustomSeen[1].wParam, 1u);
  EXPECT_EQ(gCustomSeen[1].lParam, 2);
  ASSERT_TRUE(SetWindowTextA(window_, "\xB1\xEA\xCC\xE2"));
  char text[16] = {};
  EXPECT_EQ(GetWindowTextA(window_, text, sizeof(text)), 4);
  EXPECT_STREQ(text, "\xB1\xEA\xCC\xE2");
}

#ifdef _WIN64
TEST_F(FileDropHookTest, TheStubsFrameIsDescribedForStackWalks) {
  // Exception dispatch and debuggers find the stub's frame through the
  // function table entry that Register adds for it.
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  const auto stub = reinterpret_cast<std::uintptr_t>(CurrentProc());
  DWORD64 base = 0;
  const RUNTIME_FUNCTION* entry = RtlLookupFunctionEntry(stub + 8, &base, nullptr);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(base, stub);
  EXPECT_EQ(entry->BeginAddress, 0u);
  const ByteBuffer code = MakeWndProcStubX64(0, 0);
  EXPECT_EQ(entry->EndAddress, code.size());
  const ByteBuffer expected = MakeWndProcStubX64UnwindInfo();
  const auto* unwind = reinterpret_cast<const std::uint8_t*>(stub + entry->UnwindData);
  EXPECT_EQ(ByteBuffer(unwind, unwind + expected.size()), expected);
}
#endif

TEST_F(FileDropHookTest, DestroyGivesTheWindowItsProcedureBack) {
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  EXPECT_NE(CurrentProc(), &OwnWindowProc);
  DestroyFileDropHook(&hook_);
  EXPECT_EQ(hook_, nullptr);
  EXPECT_EQ(CurrentProc(), &OwnWindowProc);
  EXPECT_FALSE(AcceptsFiles());

  // Messages now go straight to the window's procedure.
  PostDrop({"C:\\after"});
  EXPECT_TRUE(gDroppedPaths.empty());
  EXPECT_EQ(gDropsAtWindowProc, 1);
  EXPECT_EQ(SendMessageA(window_, kCustomMessage, 3, 4), kCustomResult);
}

TEST_F(FileDropHookTest, DestroyingAnUnregisteredHookLeavesTheWindowAlone) {
  DestroyFileDropHook(&hook_);
  EXPECT_EQ(hook_, nullptr);
  EXPECT_EQ(CurrentProc(), &OwnWindowProc);
  EXPECT_EQ(SendMessageA(window_, kCustomMessage, 5, 6), kCustomResult);
}

TEST_F(FileDropHookTest, ASecondRegisterChangesNothing) {
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  const WNDPROC stub = CurrentProc();
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  EXPECT_EQ(CurrentProc(), stub);
  EXPECT_EQ(hook_->PreviousProc, &OwnWindowProc) << "never a stub of the same hook";

  PostDrop({"C:\\once"});
  EXPECT_EQ(gDroppedPaths, std::vector<Text>{"C:\\once"});
  EXPECT_EQ(SendMessageA(window_, kCustomMessage, 7, 8), kCustomResult);
  EXPECT_EQ(gCustomSeen.size(), 1u);

  DestroyFileDropHook(&hook_);
  EXPECT_EQ(CurrentProc(), &OwnWindowProc);
}

TEST_F(FileDropHookTest, WithoutMemoryForTheStubNothingIsInstalled) {
  declared::VirtualAlloc.Override(&FailingVirtualAlloc);
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  EXPECT_EQ(gAllocCalls.size(), 1u);
  EXPECT_EQ(CurrentProc(), &OwnWindowProc);
  EXPECT_EQ(hook_->PreviousProc, nullptr);
  EXPECT_FALSE(AcceptsFiles()) << "no drops are taken that nothing would handle";
  EXPECT_EQ(SendMessageA(window_, kCustomMessage, 9, 10), kCustomResult);

  DestroyFileDropHook(&hook_);
  EXPECT_EQ(CurrentProc(), &OwnWindowProc) << "Unregister must not install a procedure of 0";
  EXPECT_EQ(SendMessageA(window_, kCustomMessage, 11, 12), kCustomResult);
}

TEST_F(FileDropHookTest, EachRegisterMakesAStubOfItsOwn) {
  // A second window with a procedure and a hook callback of its own: a stub
  // that called the other hook would deliver to the wrong list or return the
  // other window's result.
  WNDCLASSA otherClass{};
  otherClass.lpfnWndProc = &OtherWindowProc;
  otherClass.hInstance = GetModuleHandleA(nullptr);
  otherClass.lpszClassName = "KorvaneDropTestOther";
  RegisterClassA(&otherClass);
  HWND other = CreateWindowExA(0, "KorvaneDropTestOther", "other", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  FileDropHook* otherHook = CreateFileDropHook();
  declared::VirtualAlloc.Override(&RecordingVirtualAlloc);
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  RegisterFileDropHook(&otherHook, other, &RecordOtherPath, &gOtherPaths);
  ASSERT_EQ(gAllocCalls.size(), 2u);
  EXPECT_NE(gAllocCalls[0].result, gAllocCalls[1].result);
  EXPECT_EQ(otherHook->PreviousProc, &OtherWindowProc);

  HDROP drop = MakeAnsiDrop({"C:\\to other"});
  ASSERT_TRUE(PostMessageA(other, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
  PumpMessages();
  PostDrop({"C:\\to first"});
  EXPECT_EQ(gOtherPaths, std::vector<Text>{"other:C:\\to other"});
  EXPECT_EQ(gDroppedPaths, std::vector<Text>{"C:\\to first"});
  EXPECT_EQ(SendMessageA(other, kCustomMessage, 1, 2), kOtherResult);
  EXPECT_EQ(SendMessageA(window_, kCustomMessage, 1, 2), kCustomResult);

  DestroyFileDropHook(&otherHook);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(other, GWLP_WNDPROC)), &OtherWindowProc);
  DestroyWindow(other);
}

// A callback may destroy the hook it was called by (the variable is emptied
// then): the rest of the drop is not delivered, the drop is still finished,
// and nothing of the freed hook is used.
void DestroyTheHook(void* context, const Text& path, std::wstring_view /*widePath*/) {
  gDroppedPaths.push_back(path);
  DestroyFileDropHook(static_cast<FileDropHook**>(context));
}

TEST_F(FileDropHookTest, ACallbackMayDestroyItsHook) {
  declared::DragFinish.Override(&CountingDragFinish);
  RegisterFileDropHook(&hook_, window_, &DestroyTheHook, &hook_);
  PostDrop({"C:\\one", "C:\\two", "C:\\three"});
  EXPECT_EQ(hook_, nullptr);
  EXPECT_EQ(gDroppedPaths, std::vector<Text>{"C:\\one"});
  EXPECT_EQ(gDragFinishCalls, 1);
  EXPECT_EQ(CurrentProc(), &OwnWindowProc);
  EXPECT_EQ(SendMessageA(window_, kCustomMessage, 3, 4), kCustomResult);
}

TEST_F(FileDropHookTest, TheMessageFilterIsOpenedExceptOnWindowsXp) {
  RegisterFileDropHook(&hook_, window_, &RecordPath, &gDroppedPaths);
  const std::string version = test::WineVersion();
  if (version == "winxp" || version == "winxp64") {
    EXPECT_TRUE(gFilterCalls.empty()) << version;
  } else {
    const std::vector<std::pair<UINT, DWORD>> expected = {{WM_DROPFILES, 1}, {WM_COPYDATA, 1}, {0x0049, 1}};
    EXPECT_EQ(gFilterCalls, expected) << version;
  }
}

}  // namespace
}  // namespace korvane
