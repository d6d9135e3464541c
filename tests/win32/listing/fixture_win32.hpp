#pragma once
// Trees for the listing tests under Wine. The folders are made through the
// ANSI functions, so GBK names in the test sources reach the disk as the
// program would see them. with_fixture.sh provides the fixture folder (and
// removes it with everything in it) and the spare drive letter.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/path_list.hpp"
#include "common/text.hpp"

namespace korvane::testing {

inline Text EnvironmentText(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? Text() : Text(value);
}

// Z:\tmp\korvane-listing-XXXXXX, made by with_fixture.sh.
inline Text FixtureFolder() { return EnvironmentText("KORVANE_LISTING_FIXTURE"); }
// The spare drive, "K:" or the like, whose root holds sub\inner.txt and top.txt.
inline Text SpareDrive() { return EnvironmentText("KORVANE_LISTING_DRIVE"); }

inline std::wstring Wide(const Text& text) {
  const int size = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// The ANSI form of a name or path as the system converts it for its ANSI
// functions: a character that code page 936 cannot hold becomes "?".
inline Text Ansi(const std::wstring& wide) {
  const int size =
      WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  Text text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
  return text;
}

// A fresh folder in the fixture folder; entries are made beneath it.
class WinTree {
 public:
  explicit WinTree(const std::string& name) : root_(FixtureFolder() + "\\" + name) {
    EXPECT_FALSE(FixtureFolder().empty()) << "run through with_fixture.sh";
    EXPECT_TRUE(CreateDirectoryA(root_.c_str(), nullptr)) << root_ << " error " << GetLastError();
  }
  const Text& Root() const { return root_; }

  // relative uses backslashes; missing folders on the way are made.
  void Folder(const Text& relative) const {
    std::size_t at = 0;
    while (at != Text::npos) {
      at = relative.find('\\', at == 0 ? 0 : at + 1);
      const Text path = root_ + "\\" + relative.substr(0, at);
      if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path << " error " << GetLastError();
      }
    }
  }
  // The same through the wide functions, for names the ANSI code page cannot
  // hold; relative uses backslashes and its folders exist.
  void WideFolder(const std::wstring& relative) const {
    const std::wstring path = Wide(root_) + L"\\" + relative;
    EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << Ansi(path) << " error " << GetLastError();
  }
  void WideFile(const std::wstring& relative) const {
    const std::wstring path = Wide(root_) + L"\\" + relative;
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << Ansi(path) << " error " << GetLastError();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  void File(const Text& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
    const std::size_t slash = relative.rfind('\\');
    if (slash != Text::npos) Folder(relative.substr(0, slash));
    const Text path = root_ + "\\" + relative;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << path << " error " << GetLastError();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }

 private:
  Text root_;
};

// The expected scan of a link-free tree, read independently through the wide
// functions: per folder its sub-folders, each followed by its contents, then
// its files, in the order the file system lists them.
inline void WalkWide(const std::wstring& folder, const Text& prefix, std::vector<Text>& out) {
  struct Entry {
    std::wstring name;
    bool folder;
  };
  std::vector<Entry> entries;
  WIN32_FIND_DATAW data;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search, &data));
  FindClose(search);
  for (const Entry& e : entries) {
    if (!e.folder) continue;
    out.push_back(prefix + Ansi(e.name));
    WalkWide(folder + L"\\" + e.name, prefix + Ansi(e.name) + "\\", out);
  }
  for (const Entry& e : entries) {
    if (!e.folder) out.push_back(prefix + Ansi(e.name));
  }
}

inline std::vector<Text> Entries(const PathList& paths, std::size_t from = 0) {
  std::vector<Text> entries;
  for (std::size_t i = from; i < paths.Count(); ++i) entries.emplace_back(paths.At(i));
  return entries;
}

}  // namespace korvane::testing
