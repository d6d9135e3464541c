#include "win32/support/temp_folder_win32.hpp"

#include <windows.h>

#include <gtest/gtest.h>

namespace korvane::testing {
namespace {

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

TempFolder::TempFolder(const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
  // Process ids come back in a new Wine session: a run that crashed may have
  // left a folder of this name behind.
  RemoveTree(path_);
  EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_;
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void TempFolder::AddFolder(const std::string& relative) const {
  EXPECT_TRUE(CreateDirectoryA((path_ + "\\" + relative).c_str(), nullptr)) << relative;
}

void TempFolder::AddFile(const std::string& relative) const {
  const HANDLE file = CreateFileA((path_ + "\\" + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE) << relative;
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace korvane::testing
