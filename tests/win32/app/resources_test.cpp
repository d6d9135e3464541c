// What korvane.exe carries besides its code: the version information and the
// application manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The build hands the program's path over as a Linux path; Wine shows / as Z:\.
std::string ProgramPath() {
  const char* path = std::getenv("KORVANE_EXE");
  if (path == nullptr) return std::string();
  std::string windowsPath = path;
  if (!windowsPath.empty() && windowsPath[0] == '/') windowsPath = "Z:" + windowsPath;
  for (char& c : windowsPath) {
    if (c == '/') c = '\\';
  }
  return windowsPath;
}

std::string VersionText(const std::vector<char>& block, const char* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
  if (!VerQueryValueA(block.data(), query.c_str(), &value, &length) || length == 0) return std::string();
  return std::string(static_cast<const char*>(value), length - 1);
}

TEST(ResourcesTest, VersionInformationNamesTheProductAndVersion) {
  const std::string path = ProgramPath();
  ASSERT_FALSE(path.empty()) << "KORVANE_EXE is not set";
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  ASSERT_GT(size, 0u) << path;
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

  EXPECT_EQ(VersionText(block, "ProductName"), "Korvane");
  EXPECT_EQ(VersionText(block, "ProductVersion"), "1.1");
  EXPECT_FALSE(VersionText(block, "FileDescription").empty());

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 1));  // 1.1
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(ResourcesTest, ManifestAsksForCommonControlsSixAndTheUsersRights) {
  const std::string path = ProgramPath();
  ASSERT_FALSE(path.empty()) << "KORVANE_EXE is not set";
  const HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr) << path;
  const HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  ASSERT_NE(resource, nullptr);
  const HGLOBAL loaded = LoadResource(module, resource);
  const std::string manifest(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, resource));
  FreeLibrary(module);

  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  // DPI-unaware: no element that declares awareness.
  EXPECT_EQ(manifest.find("<dpiAware"), std::string::npos);
  EXPECT_EQ(manifest.find("<dpiAwareness"), std::string::npos);
}

}  // namespace
