// The special folder lookup against what the shell of the running system
// reports, and against stand-ins for the shell where the system cannot show
// a case (a path that fills the whole buffer, a temporary path longer than it).
#include "export/special_folder_win32.hpp"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "common/declared_functions_win32.hpp"
#include "win32/export/export_test_support_win32.hpp"

namespace korvane {
namespace {

using test::Gbk;

// What the shell reports for a folder identifier, with the backslash the
// lookup promises; empty when the shell reports nothing.
std::string ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) || path[0] == 0) return "";
  std::wstring wide = path;
  if (wide.back() != L'\\') wide += L'\\';
  return Gbk(wide);
}

TEST(SpecialFolder, RunsUnderTheCodePageItsLocaleGives) {
  // The locale runs are only worth something if the ANSI code page really differs.
  const std::string lang = test::EnvironmentValue("KORVANE_WINE_LANG");
  if (lang.empty() || lang.rfind("zh_CN", 0) == 0) {
    EXPECT_EQ(GetACP(), 936u);
  } else {
    EXPECT_NE(GetACP(), 936u) << lang;
  }
}

TEST(SpecialFolder, EveryKindIsTheShellsFolder) {
  const struct {
    int kind;
    int csidl;
  } kinds[] = {
      {1, CSIDL_PERSONAL},  {2, CSIDL_FAVORITES}, {3, CSIDL_DESKTOPDIRECTORY}, {4, CSIDL_FONTS},
      {5, CSIDL_STARTMENU}, {6, CSIDL_PROGRAMS},  {7, CSIDL_STARTUP},          {8, CSIDL_APPDATA},
      {9, CSIDL_WINDOWS},   {10, CSIDL_SYSTEM},   {12, CSIDL_INTERNET_CACHE},  {13, CSIDL_COMMON_APPDATA},
  };
  for (const auto& k : kinds) {
    const std::string expected = ShellFolder(k.csidl);
    EXPECT_FALSE(expected.empty()) << "the shell has no folder " << k.csidl;
    EXPECT_EQ(GetSpecialFolderPath(k.kind), expected) << "kind " << k.kind;
    // The identifier alone, whatever the kind.
    EXPECT_EQ(GetSpecialFolderPath(11, k.csidl), expected) << "folderId " << k.csidl;
  }
  const std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
  EXPECT_EQ(GetSpecialFolderPath(), desktop) << "no kind";
  EXPECT_NE(GetSpecialFolderPath(1), desktop);
  EXPECT_EQ(GetSpecialFolderPath(1, CSIDL_DESKTOPDIRECTORY), desktop);
}

TEST(SpecialFolder, KindsOutsideTheTableAreTheDesktop) {
  const std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
  ASSERT_FALSE(desktop.empty());
  for (const int kind : {0, -1, 14, 1000, INT_MIN, INT_MAX}) EXPECT_EQ(GetSpecialFolderPath(kind), desktop) << kind;
}

TEST(SpecialFolder, TempKindIsTheTempPathAsItComes) {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(GetSpecialFolderPath(11), Gbk(std::wstring(temp, length)));
}

TEST(SpecialFolder, RejectedIdentifierGivesNothing) {
  for (const int csidl : {0x7777, 0xFF, -1}) {
    EXPECT_EQ(GetSpecialFolderPath(3, csidl), "") << csidl;
    EXPECT_TRUE(GetSpecialFolderPathWide(3, csidl).empty()) << csidl;
  }
}

TEST(SpecialFolder, WideResultIsTheUnitsAndOneTerminator) {
  wchar_t path[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, path)));
  std::wstring expected = path;
  if (expected.back() != L'\\') expected += L'\\';
  expected += L'\0';
  const ByteBuffer wide = GetSpecialFolderPathWide(9);
  ASSERT_EQ(wide.size(), expected.size() * 2);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), expected.size()), expected);
}

// The desktop moved to a folder with a Chinese name: the path comes back in
// GBK bytes whatever the system's ANSI code page.
TEST(SpecialFolder, ChineseDesktopComesBackInGbk) {
  test::ScratchFolder scratch;
  const std::wstring desktop = scratch.Path() + L"\\桌面测试";
  if (!CreateDirectoryW(desktop.c_str(), nullptr)) {
    const DWORD error = GetLastError();
    // Wine in the C locale cannot name a host file in Chinese; the stand-in
    // shell below shows the conversion there. Under any other locale the
    // folder must be made.
    if (test::EnvironmentValue("KORVANE_WINE_LANG") == "C")
      GTEST_SKIP() << "the C locale names no host file in Chinese (error " << error << ")";
    FAIL() << "cannot make a folder with a Chinese name (error " << error << ")";
  }
  test::ShellFolderRedirect redirect(L"Desktop", desktop);
  // Written in UTF-8 in the source, compiled to GBK bytes.
  const std::string expected = scratch.AnsiPath() + "\\桌面测试\\";
  EXPECT_EQ(GetSpecialFolderPath(3), expected);
  EXPECT_EQ(GetSpecialFolderPath(0, CSIDL_DESKTOPDIRECTORY), expected);
}

// A desktop path of 259 characters fills the shell's buffer; the backslash
// still comes, and nothing is read or written beyond the buffer.
TEST(SpecialFolder, FullLengthDesktopStillGetsItsBackslash) {
  test::ScratchFolder scratch;
  std::wstring desktop = scratch.Path();
  while (desktop.size() < MAX_PATH - 1) {
    desktop += L'\\';
    desktop += std::wstring(std::min<std::size_t>(100, MAX_PATH - 1 - desktop.size()), L'd');
    if (desktop.back() == L'\\') desktop.back() = L'e';
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + desktop).c_str(), nullptr)) << GetLastError();
  }
  ASSERT_EQ(desktop.size(), std::size_t{MAX_PATH - 1});
  test::ShellFolderRedirect redirect(L"Desktop", desktop);
  EXPECT_EQ(GetSpecialFolderPath(3), Gbk(desktop + L"\\"));
}

// Stand-ins for the shell and the temporary path, for what a test system
// cannot be made to report.
struct FakeShell {
  static inline std::wstring path;     // written into the caller's buffer
  static inline bool fillWholeBuffer;  // no terminator within MAX_PATH
  static inline BOOL result;
  static inline HWND owner;
  static inline int folderId;
  static inline BOOL create;

  static BOOL WINAPI GetFolder(HWND ownerArg, LPWSTR buffer, int folderIdArg, BOOL createArg) {
    owner = ownerArg;
    folderId = folderIdArg;
    create = createArg;
    if (fillWholeBuffer) {
      for (int i = 0; i < MAX_PATH; ++i) buffer[i] = L'x';
    } else {
      path.copy(buffer, std::min<std::size_t>(path.size(), MAX_PATH - 1));
      buffer[std::min<std::size_t>(path.size(), MAX_PATH - 1)] = 0;
    }
    return result;
  }

  // Behaves like Windows: a path that does not fit gives the size needed.
  static DWORD WINAPI GetTemp(DWORD size, LPWSTR buffer) {
    if (path.empty()) return 0;
    if (size <= path.size()) return static_cast<DWORD>(path.size() + 1);
    path.copy(buffer, path.size());
    buffer[path.size()] = 0;
    return static_cast<DWORD>(path.size());
  }
};

class SpecialFolderStandIn : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeShell::path.clear();
    FakeShell::fillWholeBuffer = false;
    FakeShell::result = TRUE;
    FakeShell::owner = reinterpret_cast<HWND>(1);
    FakeShell::folderId = 0;
    FakeShell::create = TRUE;
    declared::SHGetSpecialFolderPathW.Override(&FakeShell::GetFolder);
    declared::GetTempPathW.Override(&FakeShell::GetTemp);
  }
  void TearDown() override {
    declared::SHGetSpecialFolderPathW.Override(nullptr);
    declared::GetTempPathW.Override(nullptr);
  }
};

TEST_F(SpecialFolderStandIn, ShellPathsBecomeTexts) {
  const std::wstring full(MAX_PATH - 1, L'p');
  const std::wstring fullWithBackslash = std::wstring(MAX_PATH - 2, L'p') + L"\\";
  const struct {
    const char* name;
    std::wstring path;
    BOOL result;
    bool fillWholeBuffer;
    std::string expected;
  } cases[] = {
      {"drive root keeps its one backslash", L"C:\\", TRUE, false, "C:\\"},
      {"folder gets a backslash", L"C:\\Users\\me\\Desktop", TRUE, false, "C:\\Users\\me\\Desktop\\"},
      {"trailing backslash kept single", L"D:\\Docs\\", TRUE, false, "D:\\Docs\\"},
      {"Chinese folder in GBK", L"C:\\用户\\桌面", TRUE, false, "C:\\用户\\桌面\\"},
      {"GBK bytes, never the ANSI code page", L"C:\\\u9760\u7A97\u8868", TRUE, false, "C:\\\xBF\xBF\xB4\xB0\xB1\xED\\"},
      // U+4E57 is GBK 0x81 0x5C: its second byte is no backslash of the path.
      {"a last character ending in byte 0x5C", L"C:\\\u4E57", TRUE, false, "C:\\\x81\x5C\\"},
      {"a character outside GBK becomes its default character", L"C:\\\u0E01", TRUE, false, "C:\\?\\"},
      {"259 characters still get the backslash", full, TRUE, false, Gbk(full) + "\\"},
      {"259 characters ending in a backslash", fullWithBackslash, TRUE, false, Gbk(fullWithBackslash)},
      {"the shell fails", L"C:\\Stale", FALSE, false, ""},
      {"the shell gives an empty path", L"", TRUE, false, ""},
      {"a buffer without a terminator is not trusted", L"", TRUE, true, ""},
  };
  for (const auto& c : cases) {
    FakeShell::path = c.path;
    FakeShell::result = c.result;
    FakeShell::fillWholeBuffer = c.fillWholeBuffer;
    EXPECT_EQ(GetSpecialFolderPath(3), c.expected) << c.name;
  }
}

TEST_F(SpecialFolderStandIn, ShellIsAskedWithoutOwnerAndWithoutCreating) {
  FakeShell::path = L"C:\\x";
  for (const int kind : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13}) {
    (void)GetSpecialFolderPath(kind);
    EXPECT_EQ(FakeShell::owner, nullptr);
    EXPECT_EQ(FakeShell::create, FALSE);
  }
  (void)GetSpecialFolderPath(5, 0x4123);  // passed on unchanged, flags and all
  EXPECT_EQ(FakeShell::folderId, 0x4123);
  (void)GetSpecialFolderPath(-7);
  EXPECT_EQ(FakeShell::folderId, CSIDL_DESKTOPDIRECTORY);
}

TEST_F(SpecialFolderStandIn, TempPathComesWholeAndUntouched) {
  const std::wstring longPath = L"C:\\" + std::wstring(150, L't') + L"\\" + std::wstring(150, L'u');
  const std::wstring exact = L"C:\\" + std::wstring(MAX_PATH - 4, L'v');
  const struct {
    const char* name;
    std::wstring path;
    std::string expected;
  } cases[] = {
      {"no backslash added", L"C:\\Temp", "C:\\Temp"},
      {"longer than the buffer", longPath, Gbk(longPath)},
      {"259 characters fit", exact, Gbk(exact)},
      {"Chinese temporary path", L"C:\\临时", "C:\\临时"},
      {"no temporary path", L"", ""},
  };
  for (const auto& c : cases) {
    FakeShell::path = c.path;
    EXPECT_EQ(GetSpecialFolderPath(11), c.expected) << c.name;
  }
  // An identifier wins over kind 11: the shell is asked, and the backslash comes.
  FakeShell::path = L"C:\\Temp";
  EXPECT_EQ(GetSpecialFolderPath(11, CSIDL_DESKTOPDIRECTORY), "C:\\Temp\\");
}

TEST(WideToText, ConvertsUpToTheFirstZero) {
  auto bytes = [](std::initializer_list<int> values) {
    ByteBuffer buffer;
    for (const int v : values) buffer.push_back(static_cast<std::uint8_t>(v));
    return buffer;
  };
  const struct {
    const char* name;
    ByteBuffer wide;
    std::uint32_t codePage;
    std::string expected;
  } cases[] = {
      {"nothing", {}, 936, ""},
      {"terminator alone", bytes({0, 0}), 936, ""},
      {"without terminator", bytes({'a', 0, 'b', 0}), 936, "ab"},
      {"with terminator", bytes({'a', 0, 'b', 0, 0, 0}), 936, "ab"},
      {"an odd last byte", bytes({'a', 0, 'b'}), 936, "ab"},
      {"stops at a zero unit", bytes({'a', 0, 0, 0, 'b', 0}), 936, "a"},
      {"Chinese in GBK", bytes({0x4C, 0x68, 0x62, 0x97}), 936, "\xD7\xC0\xC3\xE6"},
      {"another code page when asked", bytes({0xE9, 0x00}), 1252, "\xE9"},
  };
  for (const auto& c : cases) EXPECT_EQ(WideToText(c.wide, c.codePage), c.expected) << c.name;
}

}  // namespace
}  // namespace korvane
