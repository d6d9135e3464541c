#pragma once
// Helpers of the export tests: scratch folders, redirected shell folders and
// whole-file reads, all on the prefix's own drive.
#include <windows.h>

#include <string>
#include <vector>

namespace korvane::test {

// UTF-16 to code page 936: the reference for what the lookup hands out.
std::string Gbk(const std::wstring& wide);

// The variable's value, empty when it is not set.
std::string EnvironmentValue(const char* name);

// A new, empty folder under the temporary-files folder, removed with all it
// holds at the end. Its path is plain ASCII.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::string AnsiPath() const { return Gbk(path_); }

 private:
  std::wstring path_;
};

void RemoveTree(const std::wstring& path);

// Points one of the current user's shell folders (a value under "User Shell
// Folders", e.g. "Desktop") at path while the object lives; the earlier value
// comes back at the end.
class ShellFolderRedirect {
 public:
  ShellFolderRedirect(const wchar_t* value, const std::wstring& path);
  ~ShellFolderRedirect();
  ShellFolderRedirect(const ShellFolderRedirect&) = delete;
  ShellFolderRedirect& operator=(const ShellFolderRedirect&) = delete;

 private:
  std::wstring value_;
  bool hadOld_ = false;
  DWORD oldType_ = 0;
  std::vector<BYTE> old_;
};

// The file's bytes; false when it cannot be opened.
bool ReadWholeFile(const std::string& ansiName, std::string& bytes);
void WriteWholeFile(const std::string& ansiName, const std::string& bytes);

// The names in a folder, "." and ".." left out, sorted.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

}  // namespace korvane::test
