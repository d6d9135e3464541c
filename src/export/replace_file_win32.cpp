#include "export/replace_file_win32.hpp"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "common/unique_handles_win32.hpp"

namespace korvane {
namespace {

// WriteFile takes a 32-bit count; larger contents go in pieces.
constexpr std::size_t kMaxWrite = 1u << 30;
// Tries for a free temporary name, should one be left from an earlier run.
constexpr unsigned kTempNameTries = 100;

// Removes the temporary file unless it was handed over.
class TempFileGuard {
 public:
  TempFileGuard() = default;
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  ~TempFileGuard() {
    if (!name_.empty()) ::DeleteFileA(name_.c_str());
  }
  void Watch(const Text& name) { name_ = name; }
  void Release() { name_.clear(); }

 private:
  Text name_;
};

// "<name>.~<process>-<try>.tmp": same folder as name, so the final move is a
// rename within one volume.
Text TempNameFor(const Text& name, unsigned attempt) {
  char suffix[40];
  std::snprintf(suffix, sizeof suffix, ".~%lx-%u.tmp", static_cast<unsigned long>(::GetCurrentProcessId()), attempt);
  return name + suffix;
}

// Creates a new file that nobody else may open while it is written.
UniqueFileHandle CreateTempFile(const Text& name, Text& tempName) {
  for (unsigned attempt = 0; attempt < kTempNameTries; ++attempt) {
    tempName = TempNameFor(name, attempt);
    UniqueFileHandle file(
        ::CreateFileA(tempName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return UniqueFileHandle();
}

[[nodiscard]] bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto piece = static_cast<DWORD>(std::min(bytes.size(), kMaxWrite));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool ReplaceFileContent(const Text& name, std::string_view bytes) {
  // A read-only file is one its owner keeps from being changed. Windows'
  // MoveFileExA refuses to replace it, but not every implementation of the
  // call does (Wine replaces it), so the program asks first.
  const DWORD attributes = ::GetFileAttributesA(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;

  TempFileGuard guard;  // declared first: the handle closes before the file goes
  Text tempName;
  UniqueFileHandle file = CreateTempFile(name, tempName);
  if (!file) return false;
  guard.Watch(tempName);

  if (!WriteAll(file.get(), bytes)) return false;
  // The bytes reach the disk before the old file is given up.
  if (!::FlushFileBuffers(file.get())) return false;
  if (!::CloseHandle(file.release())) return false;
  if (!::MoveFileExA(tempName.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return false;
  guard.Release();
  return true;
}

}  // namespace korvane
