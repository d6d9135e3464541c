#pragma once
// What the export tests on a bare TreeView box and on the real main window
// both set up and check: the prefix's desktop moved into a scratch folder and
// the file an export leaves there.
#include <windows.h>

#include <memory>
#include <string>

#include "win32/export/export_test_support_win32.hpp"

namespace korvane::test {

// The program's texts, written here on their own (compiled to GBK like the program's).
inline const std::string kExportSuccess = "导出成功！文件在桌面";
inline const std::string kExportFailurePrefix = "导出失败！无法写入文件：";
inline const std::string kExportCaption = "信息：";
inline const std::wstring kExportName = L"目录生成.txt";

// The current user's desktop pointed at a new, empty folder in a scratch
// folder while the object lives.
class MovedDesktop {
 public:
  // Call from the test's SetUp, wrapped in ASSERT_NO_FATAL_FAILURE.
  void Prepare();

  const ScratchFolder& Scratch() const { return scratch_; }
  const std::wstring& Folder() const { return desktop_; }
  // The export file's name there, in code page 936.
  const std::string& FileName() const { return fileName_; }

  // The export file's bytes; a test failure if there is none.
  std::string FileBytes() const;
  // Nothing but the export file in the desktop folder: no temporary file left.
  void ExpectOnlyTheExportFile() const;

 private:
  ScratchFolder scratch_;
  std::wstring desktop_;
  std::unique_ptr<ShellFolderRedirect> redirect_;
  std::string fileName_;
};

}  // namespace korvane::test
