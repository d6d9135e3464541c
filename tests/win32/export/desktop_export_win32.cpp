#include "win32/export/desktop_export_win32.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace korvane::test {

CapturedMessageBox CaptureOneBox(HWND watched, const std::function<void()>& click) {
  MessageBoxCapture capture(watched);
  click();
  EXPECT_EQ(capture.Boxes().size(), 1u);
  return capture.Boxes().empty() ? CapturedMessageBox() : capture.Boxes().front();
}

void ExpectExportBox(const CapturedMessageBox& box, const std::string& text) {
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.caption, kExportCaption);
  EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_TASKMODAL));
  EXPECT_TRUE(box.appeared);
  EXPECT_FALSE(box.closedByTimeout);
  EXPECT_EQ(box.shownText, text);
  EXPECT_EQ(box.shownCaption, kExportCaption);
  EXPECT_EQ(box.visibleButtons, 1);
  EXPECT_TRUE(box.okButtonVisible);
  EXPECT_TRUE(box.watchedWindowDisabled) << "the watched window took input meanwhile";
}

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
