#include "export/special_folder_win32.hpp"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/declared_functions_win32.hpp"

namespace korvane {
namespace {

// The path buffer: MAX_PATH UTF-16 code units (520 bytes), terminator
// included, zero-filled before every call.
constexpr std::size_t kPathUnits = MAX_PATH;
constexpr WCHAR kWideBackslash = L'\\';

// Marks the one kind that is not a shell folder.
constexpr std::int32_t kTempPathLookup = -1;

struct FolderKind {
  std::int32_t kind;
  std::int32_t folderId;  // a CSIDL value, or kTempPathLookup
};

constexpr FolderKind kFolderKinds[] = {
    {1, CSIDL_PERSONAL},          // the user's documents
    {2, CSIDL_FAVORITES},         // the user's favourites
    {3, CSIDL_DESKTOPDIRECTORY},  // the user's desktop directory
    {4, CSIDL_FONTS},             // the fonts folder
    {5, CSIDL_STARTMENU},         // the user's Start menu
    {6, CSIDL_PROGRAMS},          // the user's Programs menu group
    {7, CSIDL_STARTUP},           // the user's Startup group
    {8, CSIDL_APPDATA},           // the user's application data
    {9, CSIDL_WINDOWS},           // the Windows directory
    {10, CSIDL_SYSTEM},           // the Windows system directory
    {11, kTempPathLookup},        // the temporary-files directory (GetTempPathW)
    {12, CSIDL_INTERNET_CACHE},   // the Internet cache
    {13, CSIDL_COMMON_APPDATA},   // the application data of all users
};

// count code units, then a backslash when asked for, then the terminator.
ByteBuffer WidePath(const WCHAR* units, std::size_t count, bool appendBackslash) {
  const std::size_t total = count + (appendBackslash ? 1 : 0) + 1;
  ByteBuffer wide(total * sizeof(WCHAR), 0);
  std::memcpy(wide.data(), units, count * sizeof(WCHAR));
  if (appendBackslash) wide[count * sizeof(WCHAR)] = static_cast<std::uint8_t>(kWideBackslash);
  return wide;
}

ByteBuffer LookUpShellFolder(std::int32_t folderId) {
  std::vector<WCHAR> path(kPathUnits, 0);
  // No owner window; FALSE: a missing folder is not created.
  if (!declared::SHGetSpecialFolderPathW(nullptr, path.data(), folderId, FALSE)) return ByteBuffer();
  // The shell writes at most MAX_PATH units, terminator included; a buffer
  // left without one is not trusted, so nothing reads past its end.
  if (std::find(path.begin(), path.end(), WCHAR{0}) == path.end()) return ByteBuffer();
  const int length = declared::lstrlenW(path.data());
  if (length <= 0) return ByteBuffer();
  const auto count = static_cast<std::size_t>(length);
  // A path of MAX_PATH - 1 units leaves no room in the buffer for the
  // backslash; the result is a new, large enough buffer in any case.
  return WidePath(path.data(), count, path[count - 1] != kWideBackslash);
}

ByteBuffer LookUpTempPath() {
  std::vector<WCHAR> path(kPathUnits, 0);
  DWORD length = declared::GetTempPathW(static_cast<DWORD>(path.size()), path.data());
  // A path that does not fit gives the size needed, terminator included. The
  // path may change between the calls, hence a few tries.
  for (int attempt = 0; attempt < 3 && length >= path.size(); ++attempt) {
    path.assign(length, 0);
    length = declared::GetTempPathW(static_cast<DWORD>(path.size()), path.data());
  }
  if (length == 0 || length >= path.size()) return ByteBuffer();
  return WidePath(path.data(), length, false);  // as GetTempPathW gave it
}

}  // namespace

Text GetSpecialFolderPath(std::int32_t kind, std::optional<std::int32_t> folderId) {
  return WideToText(GetSpecialFolderPathWide(kind, folderId), kExportCodePage);
}

ByteBuffer GetSpecialFolderPathWide(std::int32_t kind, std::optional<std::int32_t> folderId) {
  if (folderId) return LookUpShellFolder(*folderId);
  const auto row = std::find_if(std::begin(kFolderKinds), std::end(kFolderKinds),
                                [kind](const FolderKind& k) { return k.kind == kind; });
  const std::int32_t id = row != std::end(kFolderKinds) ? row->folderId : CSIDL_DESKTOPDIRECTORY;
  return id == kTempPathLookup ? LookUpTempPath() : LookUpShellFolder(id);
}

Text WideToText(const ByteBuffer& wide, std::uint32_t codePage) {
  // The units and at least one zero unit after them, also for an empty or
  // unterminated input.
  std::vector<WCHAR> units((wide.size() + 1) / sizeof(WCHAR) + 1, 0);
  if (!wide.empty()) std::memcpy(units.data(), wide.data(), wide.size());
  if (declared::lstrlenW(units.data()) <= 0) return Text();

  // Length -1: up to and including the terminator; no default character.
  const int size = declared::WideCharToMultiByte(codePage, 0, units.data(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return Text();
  // One zero byte more than asked for, so strlen always stops inside.
  std::vector<char> bytes(static_cast<std::size_t>(size) + 1, 0);
  declared::WideCharToMultiByte(codePage, 0, units.data(), -1, bytes.data(), size, nullptr, nullptr);
  return Text(bytes.data(), declared::strlen(bytes.data()));
}

}  // namespace korvane
