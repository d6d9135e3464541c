#include "win32/export/export_test_support_win32.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace korvane::test {
namespace {

constexpr wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

HKEY OpenUserShellFolders() {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kUserShellFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key),
            ERROR_SUCCESS);
  return key;
}

constexpr wchar_t kScratchPrefix[] = L"korvane-export-";

// A desktop still pointing into a scratch folder was left by a run that was
// killed: the prefix's own desktop comes back before any test runs.
class LeftoverRedirectRepair : public ::testing::Environment {
 public:
  void SetUp() override {
    const HKEY key = OpenUserShellFolders();
    wchar_t value[1024] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegQueryValueExW(key, L"Desktop", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
        std::wstring(value).find(kScratchPrefix) != std::wstring::npos) {
      const std::wstring standard = L"%USERPROFILE%\\Desktop";
      RegSetValueExW(key, L"Desktop", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(standard.c_str()),
                     static_cast<DWORD>((standard.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(key);
  }
};
::testing::Environment* const g_repair = ::testing::AddGlobalTestEnvironment(new LeftoverRedirectRepair);

}  // namespace

std::string Gbk(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int size =
      WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), &bytes[0], size, nullptr, nullptr);
  return bytes;
}

std::string EnvironmentValue(const char* name) {
  char value[512] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

ScratchFolder::ScratchFolder() {
  static unsigned counter = 0;
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  EXPECT_GT(length, 0u);
  path_ = std::wstring(temp, length) + kScratchPrefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  RemoveTree(path_);
  EXPECT_TRUE(CreateDirectoryW(path_.c_str(), nullptr)) << GetLastError();
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

void RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    DeleteFileW(path.c_str());
    return;
  }
  for (const std::wstring& name : FolderEntries(path)) RemoveTree(path + L"\\" + name);
  RemoveDirectoryW(path.c_str());
}

ShellFolderRedirect::ShellFolderRedirect(const wchar_t* value, const std::wstring& path) : value_(value) {
  const HKEY key = OpenUserShellFolders();
  DWORD size = 0;
  if (RegQueryValueExW(key, value, nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS) {
    old_.resize(size);
    hadOld_ = RegQueryValueExW(key, value, nullptr, &oldType_, old_.data(), &size) == ERROR_SUCCESS;
  }

  EXPECT_EQ(RegSetValueExW(key, value, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                           static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

ShellFolderRedirect::~ShellFolderRedirect() {
  const HKEY key = OpenUserShellFolders();
  if (hadOld_) {
    RegSetValueExW(key, value_.c_str(), 0, oldType_, old_.data(), static_cast<DWORD>(old_.size()));
  } else {
    RegDeleteValueW(key, value_.c_str());
  }
  RegCloseKey(key);
}

bool ReadWholeFile(const std::string& ansiName, std::string& bytes) {
  bytes.clear();
  const HANDLE file = CreateFileA(ansiName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char piece[65536];
  DWORD read = 0;
  while (ReadFile(file, piece, sizeof piece, &read, nullptr) && read > 0) bytes.append(piece, read);
  CloseHandle(file);
  return true;
}

void WriteWholeFile(const std::string& ansiName, const std::string& bytes) {
  const HANDLE file =
      CreateFileA(ansiName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  EXPECT_EQ(written, bytes.size());
  CloseHandle(file);
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace korvane::test
