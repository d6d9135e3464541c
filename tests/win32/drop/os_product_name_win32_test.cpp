// The product name from what Wine reports for the version the test prefix
// is set to, and the registry reading behind it.
#include "drop/os_product_name_win32.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "common/declared_functions_win32.hpp"
#include "drop/os_product_tables.hpp"
#include "drop/os_registry_text_win32.hpp"
#include "win32/drop/drop_test_support_win32.hpp"

namespace korvane {
namespace {

struct ExpectedSystem {
  std::int32_t major, minor;
  const char* name;
};

TEST(GetOsProductName, NamesTheSystemThePrefixReports) {
  const std::map<std::string, ExpectedSystem> expected = {
      {"winxp64", {5, 2, "Windows XP Professional x64 Edition"}},
      {"win7", {6, 1, "Windows 7"}},
      {"win10", {10, 0, "Windows 10"}},
  };
  const std::string version = test::WineVersion();
  const auto it = expected.find(version);
  ASSERT_NE(it, expected.end()) << "no expectation for " << version;
  const ExpectedSystem& system = it->second;

  // From 6 on the product type decides as well; Wine 8 reports 28
  // (PRODUCT_ULTIMATE_N), which the edition table does not list, so there
  // the name is the replacement text.
  std::string name = system.name;
  if (system.major >= 6) {
    ULONG type = 0;
    static_cast<void>(declared::RtlGetProductInfo(system.major, system.minor, 0, 0, &type));
    if (!EditionForProductType(type)) {
      name = "获取失败，请检查版本:" + std::to_string(system.major) + "." + std::to_string(system.minor);
    }
  }

  std::int32_t major = -1;
  std::int32_t minor = -1;
  EXPECT_EQ(GetOsProductName(&major, &minor), name);
  EXPECT_EQ(major, system.major);
  EXPECT_EQ(minor, system.minor);
  // The architecture suffix names the running Windows: this test is a 64-bit process.
  EXPECT_EQ(GetOsProductName(nullptr, nullptr, OsNameOptions{false, true, false, false}), name + " x64");
}

BOOL WINAPI FailingGetVersionExA(LPOSVERSIONINFOA) { return FALSE; }
int gOtherCalls = 0;
void WINAPI CountingGetSystemInfo(LPSYSTEM_INFO) { ++gOtherCalls; }

TEST(GetOsProductName, IsEmptyAndWritesNoVersionWhenTheVersionCannotBeRead) {
  declared::GetVersionExA.Override(&FailingGetVersionExA);
  declared::GetSystemInfo.Override(&CountingGetSystemInfo);
  std::int32_t major = 77;
  std::int32_t minor = 88;
  const Text name = GetOsProductName(&major, &minor, OsNameOptions{true, true, true, true});
  declared::GetVersionExA.Override(nullptr);
  declared::GetSystemInfo.Override(nullptr);
  EXPECT_EQ(name, "");
  EXPECT_EQ(major, 77);
  EXPECT_EQ(minor, 88);
  EXPECT_EQ(gOtherCalls, 0);
}

// A key of the test's own under HKEY_CURRENT_USER, removed again at the end.
class RegistryTextTest : public ::testing::Test {
 protected:
  static constexpr const char* kKey = "Software\\KorvaneDropTest";
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
  }
  void Set(const char* name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
  }
  Text Read(const std::string& name) { return ReadRegistryText(HKEY_CURRENT_USER, std::string(kKey) + "\\" + name); }
  HKEY key_ = nullptr;
};

TEST_F(RegistryTextTest, ReadsTextValues) {
  Set("Plain", REG_SZ, std::string("Windows Server 2022 \xB1\xEA\xD7\xBC", 24) + '\0');
  Set("Unterminated", REG_SZ, "Build");
  Set("Expand", REG_EXPAND_SZ, std::string("%KORVANE_DROP_TEST%\\x") + '\0');
  Set("ExpandUnset", REG_EXPAND_SZ, std::string("%KORVANE_NOT_SET_ANYWHERE%") + '\0');
  Set("Number", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
  Set("Empty", REG_SZ, std::string(1, '\0'));
  SetEnvironmentVariableA("KORVANE_DROP_TEST", "C:\\\xD6\xD0");

  EXPECT_EQ(Read("Plain"), "Windows Server 2022 \xB1\xEA\xD7\xBC");
  EXPECT_EQ(Read("Unterminated"), "Build");
  EXPECT_EQ(Read("Expand"), "C:\\\xD6\xD0\\x");
  EXPECT_EQ(Read("ExpandUnset"), "%KORVANE_NOT_SET_ANYWHERE%");
  EXPECT_EQ(Read("Number"), "") << "a value of another type";
  EXPECT_EQ(Read("Empty"), "");
  EXPECT_EQ(Read("Missing"), "");
  EXPECT_EQ(ReadRegistryText(HKEY_CURRENT_USER, "Software\\KorvaneNoSuchKey\\Value"), "");
}

TEST(RegistryText, ReadsTheSystemsCurrentBuild) {
  // Wine fills the key the product name falls back to.
  const Text build =
      ReadRegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\CurrentBuild");
  EXPECT_FALSE(build.empty());
  EXPECT_EQ(build.find_first_not_of("0123456789"), std::string::npos) << build;
}

}  // namespace
}  // namespace korvane
