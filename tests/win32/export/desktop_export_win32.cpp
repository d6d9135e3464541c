#include "win32/export/desktop_export_win32.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace korvane::test {

void MovedDesktop::Prepare() {
  desktop_ = scratch_.Path() + L"\\桌面";
  ASSERT_TRUE(CreateDirectoryW(desktop_.c_str(), nullptr)) << GetLastError();
  redirect_ = std::make_unique<ShellFolderRedirect>(L"Desktop", desktop_);
  fileName_ = scratch_.AnsiPath() + "\\桌面\\目录生成.txt";
}

std::string MovedDesktop::FileBytes() const {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(fileName_, bytes)) << "no " << fileName_;
  return bytes;
}

void MovedDesktop::ExpectOnlyTheExportFile() const {
  EXPECT_EQ(FolderEntries(desktop_), std::vector<std::wstring>{kExportName});
}

}  // namespace korvane::test
