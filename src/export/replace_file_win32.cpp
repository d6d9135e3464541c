#include "export/replace_file_win32.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "common/unique_handles_win32.hpp"

namespace korvane {
namespace {

// WriteFile takes a 32-bit count; larger contents go in pieces.
constexpr std::size_t kMaxWrite = 1u << 30;
// Tries for a free temporary name, should one be left from an earlier run.
constexpr unsigned kTempNameTries = 100;

const ReplaceFileCalls kSystemCalls;
const ReplaceFileCalls* g_calls = &kSystemCalls;

// Removes the temporary file unless it was handed over.
class TempFileGuard {
 public:
  TempFileGuard() = default;
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  ~TempFileGuard() {
    if (!name_.empty()) ::DeleteFileW(name_.c_str());
  }
  void Watch(const std::wstring& name) { name_ = name; }
  void Release() { name_.clear(); }

 private:
  std::wstring name_;
};

std::wstring Widen(const Text& ansi) {
  if (ansi.empty()) return std::wstring();
  const int size = static_cast<int>(std::min<std::size_t>(ansi.size(), 0x7fffffff));
  const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, &wide[0], length);
  return wide;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

// Creates the temporary file new: never opens one that is already there,
// which belongs to someone else or was left behind; tries the next name then.
UniqueFileHandle CreateTempFile(const Text& name, std::wstring& tempName) {
  for (unsigned attempt = 0; attempt < kTempNameTries; ++attempt) {
    tempName = TemporaryNameFor(name, attempt);
    if (tempName.empty()) break;
    UniqueFileHandle file(
        ::CreateFileW(tempName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return file;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return UniqueFileHandle();
}

[[nodiscard]] bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto piece = static_cast<DWORD>(std::min(bytes.size(), kMaxWrite));
    DWORD written = 0;
    if (!g_calls->WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0 || written > piece)
      return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

void SetReplaceFileCalls(const ReplaceFileCalls* calls) noexcept { g_calls = calls != nullptr ? calls : &kSystemCalls; }

std::wstring ExtendedLengthPath(const Text& name) {
  const std::wstring wide = Widen(name);
  if (wide.empty()) return std::wstring();
  const DWORD need = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (need == 0) return std::wstring();
  std::wstring full(need, L'\0');
  const DWORD length = ::GetFullPathNameW(wide.c_str(), need, &full[0], nullptr);
  if (length == 0 || length >= need) return std::wstring();
  full.resize(length);
  // Device and extended paths stay as they are; a network path takes the UNC form.
  if (StartsWith(full, L"\\\\?\\") || StartsWith(full, L"\\\\.\\")) return full;
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring TemporaryNameFor(const Text& name, unsigned attempt) {
  const std::wstring path = ExtendedLengthPath(name);
  if (path.empty()) return path;
  // Plain ASCII, made with the narrow snprintf: the wide printf family would
  // bring imports that Windows XP's msvcrt lacks.
  char suffix[40];
  std::snprintf(suffix, sizeof suffix, ".~%lx-%u.tmp", static_cast<unsigned long>(::GetCurrentProcessId()), attempt);
  return path + std::wstring(suffix, suffix + std::strlen(suffix));
}

bool ReplaceFileContent(const Text& name, std::string_view bytes) {
  const std::wstring target = ExtendedLengthPath(name);
  if (target.empty()) return false;
  // A read-only file is one its owner keeps from being changed. Windows'
  // MoveFileExW refuses to replace it, but not every implementation of the
  // call does (Wine replaces it), so the program asks first.
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;

  TempFileGuard guard;  // declared first: the handle closes before the file goes
  std::wstring tempName;
  UniqueFileHandle file = CreateTempFile(name, tempName);
  if (!file) return false;
  guard.Watch(tempName);

  if (!WriteAll(file.get(), bytes)) return false;
  // The bytes reach the disk before the old file is given up.
  if (!g_calls->FlushFileBuffers(file.get())) return false;
  if (!::CloseHandle(file.release())) return false;
  if (!g_calls->MoveFileExW(tempName.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return false;
  guard.Release();
  return true;
}

}  // namespace korvane
