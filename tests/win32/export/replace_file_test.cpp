// Replacing the export file: the old file stays whole unless every byte of
// the new one was written, flushed and moved into place; a file at the
// temporary name is neither opened nor in the way; and a name that fits
// MAX_PATH is written although the temporary name is longer.
#include "export/replace_file_win32.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/export/export_test_support_win32.hpp"

namespace korvane {
namespace {

using test::FolderEntries;
using test::Gbk;
using test::ScratchFolder;

// Whole-file reads and writes on "\\?\" paths, which have no length limit.
std::wstring Extended(const std::wstring& path) { return L"\\\\?\\" + path; }

bool ReadAll(const std::wstring& path, std::string& bytes) {
  bytes.clear();
  const HANDLE file =
      CreateFileW(Extended(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char piece[4096];
  DWORD read = 0;
  while (ReadFile(file, piece, sizeof piece, &read, nullptr) && read > 0) bytes.append(piece, read);
  CloseHandle(file);
  return true;
}

void WriteAll(const std::wstring& path, const std::string& bytes) {
  const HANDLE file = CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  CloseHandle(file);
}

const std::wstring kFileName = L"目录生成.txt";
const std::string kOld = "old export\r\n----kept whole";
const std::string kNew = std::string("----新\r\n--------") + std::string(5000, 'n');

// Stand-ins for the calls that can fail half-way.
BOOL WINAPI FailingWrite(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
  *written = 0;
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}
// Writes the first half, then the disk is full.
BOOL WINAPI WriteHalfThenFail(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED) {
  static bool wrote = false;
  if (!wrote) {
    wrote = true;
    return WriteFile(file, data, size / 2, written, nullptr);
  }
  wrote = false;
  return FailingWrite(file, data, size, written, nullptr);
}
BOOL WINAPI WriteNothingButSucceed(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
  *written = 0;
  return TRUE;
}
// Takes at most 1000 bytes per call, as a write may: the rest must follow.
BOOL WINAPI WriteInShortPieces(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED) {
  return WriteFile(file, data, size < 1000 ? size : 1000, written, nullptr);
}
BOOL WINAPI FailingFlush(HANDLE) {
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}
BOOL WINAPI FailingMove(LPCWSTR, LPCWSTR, DWORD) {
  SetLastError(ERROR_SHARING_VIOLATION);
  return FALSE;
}

class FileReplacement : public ::testing::Test {
 protected:
  void TearDown() override { SetReplaceFileCalls(nullptr); }

  std::wstring Target() const { return scratch_.Path() + L"\\" + kFileName; }
  Text AnsiTarget() const { return Gbk(Target()); }
  std::string Bytes(const std::wstring& path) const {
    std::string bytes;
    EXPECT_TRUE(ReadAll(path, bytes));
    return bytes;
  }

  ScratchFolder scratch_;
};

TEST_F(FileReplacement, AFailedStepKeepsTheOldFileAndLeavesNoOther) {
  const struct {
    const char* name;
    ReplaceFileCalls calls;
    bool replaced;
  } cases[] = {
      {"write fails", {&FailingWrite, &FlushFileBuffers, &MoveFileExW}, false},
      {"write stops half-way", {&WriteHalfThenFail, &FlushFileBuffers, &MoveFileExW}, false},
      {"write takes nothing", {&WriteNothingButSucceed, &FlushFileBuffers, &MoveFileExW}, false},
      {"flush fails", {&WriteFile, &FailingFlush, &MoveFileExW}, false},
      {"move fails", {&WriteFile, &FlushFileBuffers, &FailingMove}, false},
      {"writes in short pieces", {&WriteInShortPieces, &FlushFileBuffers, &MoveFileExW}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteAll(Target(), kOld);
    SetReplaceFileCalls(&c.calls);
    EXPECT_EQ(ReplaceFileContent(AnsiTarget(), kNew), c.replaced);
    SetReplaceFileCalls(nullptr);
    EXPECT_EQ(Bytes(Target()), c.replaced ? kNew : kOld);
    EXPECT_EQ(FolderEntries(scratch_.Path()), std::vector<std::wstring>{kFileName});
  }
}

// A file already at the temporary name, left by an earlier run or someone
// else's: the export goes on under the next name and leaves it as it was.
TEST_F(FileReplacement, AFileAtTheTemporaryNameIsLeftAloneAndNotInTheWay) {
  WriteAll(Target(), kOld);
  const std::wstring stale = TemporaryNameFor(AnsiTarget(), 0);
  ASSERT_EQ(stale.rfind(L"\\\\?\\", 0), 0u);
  const std::wstring staleName = stale.substr(stale.rfind(L'\\') + 1);
  WriteAll(stale.substr(4), "someone else's");

  EXPECT_TRUE(ReplaceFileContent(AnsiTarget(), kNew));
  EXPECT_EQ(Bytes(Target()), kNew);
  EXPECT_EQ(Bytes(stale.substr(4)), "someone else's");
  EXPECT_EQ(FolderEntries(scratch_.Path()), (std::vector<std::wstring>{kFileName, staleName}));
}

// Names of 248 to 259 characters fit MAX_PATH, so writing them directly
// works; the longer temporary name must not make the export fail.
TEST_F(FileReplacement, NamesThatFitMaxPathAreWritten) {
  for (const std::size_t length : {248u, 255u, 259u}) {
    SCOPED_TRACE(length);
    // Folders of up to 100 characters until the file's name has the length.
    std::wstring folder = scratch_.Path() + L"\\f" + std::to_wstring(length);
    ASSERT_TRUE(CreateDirectoryW(Extended(folder).c_str(), nullptr));
    while (folder.size() + 1 + kFileName.size() < length) {
      const std::size_t room = length - (folder.size() + 1 + kFileName.size()) - 1;  // less the backslash
      folder += L"\\" + std::wstring(room < 100 ? room : 100, L'd');
      ASSERT_TRUE(CreateDirectoryW(Extended(folder).c_str(), nullptr)) << GetLastError();
    }
    const std::wstring target = folder + L"\\" + kFileName;
    ASSERT_EQ(target.size(), length);
    WriteAll(target, kOld);
    EXPECT_TRUE(ReplaceFileContent(Gbk(target), kNew));
    EXPECT_EQ(Bytes(target), kNew);
    EXPECT_EQ(FolderEntries(Extended(folder)), std::vector<std::wstring>{kFileName});
  }
}

}  // namespace
}  // namespace korvane
