// The folder search over FindFirstFileExW/FindNextFileW/FindClose on
// absolute \\?\ paths: every name is reached, and paths may be as long as the
// system allows (32,767 characters). Names are handed on in the ANSI code
// page.
#include "listing/folder_search_win32.hpp"

#include <windows.h>

#include <cstddef>
#include <cwchar>
#include <string>
#include <vector>

#include "common/unique_handle.hpp"
#include "listing/folder_search.hpp"

namespace korvane {
namespace {

// FindFirstFileExW fails with INVALID_HANDLE_VALUE, not null.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { ::FindClose(handle); }
};

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};

// The code page of the system's ANSI file functions, in which the names have
// always reached the path list. Korvane never switches those functions to
// the OEM code page, so it is the ANSI one.
constexpr UINT kNameCodePage = CP_ACP;

FindFirstFileExWFn* g_findFirstFileEx = &::FindFirstFileExW;
// Set once a system has refused FindExInfoBasic with FIND_FIRST_EX_LARGE_FETCH
// and taken the plain form: Windows XP and Vista know neither.
bool g_plainSearchesOnly = false;

// Starts the search of pattern, asking for the least the walk needs (no short
// names) in large batches. A system older than Windows 7 refuses both with
// ERROR_INVALID_PARAMETER: the search is started again in the plain form,
// and when that works, every later search starts in it. A folder that fails
// both ways fails for its own reasons, and teaches nothing.
HANDLE StartSearch(const wchar_t* pattern, WIN32_FIND_DATAW& data) {
  if (!g_plainSearchesOnly) {
    const HANDLE search =
        g_findFirstFileEx(pattern, FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_INVALID_PARAMETER) return search;
  }
  const HANDLE search = g_findFirstFileEx(pattern, FindExInfoStandard, &data, FindExSearchNameMatch, nullptr, 0);
  if (search != INVALID_HANDLE_VALUE) g_plainSearchesOnly = true;
  return search;
}

bool StartsWith(const std::wstring& text, const wchar_t* start) noexcept {
  return text.compare(0, std::wcslen(start), start) == 0;
}

// The text in UTF-16, as the system's ANSI file functions read it.
std::wstring ToWide(const Text& text) {
  std::wstring wide;
  if (text.empty()) return wide;
  const int size = ::MultiByteToWideChar(kNameCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return wide;
  wide.resize(static_cast<std::size_t>(size));
  ::MultiByteToWideChar(kNameCodePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// Appends name in the ANSI code page, converted as the system converts the
// names its ANSI functions report: a character the code page cannot hold
// becomes its default character, "?". Plain ASCII is the same in every ANSI
// code page and is copied as it is.
void AppendAnsi(std::string& out, const wchar_t* name, std::size_t size) {
  bool ascii = true;
  for (std::size_t i = 0; i < size && ascii; ++i) ascii = name[i] < 0x80;
  if (ascii) {
    for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<char>(name[i]));
    return;
  }
  // A name has at most MAX_PATH units, and no ANSI code page takes more than
  // three bytes for one (four for a surrogate pair).
  char buffer[MAX_PATH * 3];
  const int bytes = ::WideCharToMultiByte(kNameCodePage, 0, name, static_cast<int>(size), buffer,
                                          static_cast<int>(sizeof buffer), nullptr, nullptr);
  if (bytes > 0) out.append(buffer, static_cast<std::size_t>(bytes));
}

// The absolute form of a pattern, as the system resolves a path given to its
// functions: relative and drive-relative paths against the current folders,
// "." and ".." taken out, doubled separators made one. Empty when it fails.
std::wstring FullPath(const std::wstring& pattern) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = ::GetFullPathNameW(pattern.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (size == 0) return std::wstring();
    if (size < full.size()) {
      full.resize(size);
      return full;
    }
    full.resize(size);  // the size needed, terminating zero included
  }
}

// Turns an absolute folder path (ending in a backslash) into the form that
// takes the system's longest paths and every name as it is: \\?\C:\...,
// \\?\UNC\server\share\... False for a path that names no folder to search,
// such as a network path without a share.
bool ToLongPathForm(std::wstring& folder) {
  if (StartsWith(folder, L"\\\\?\\")) return true;  // already so
  if (StartsWith(folder, L"\\\\.\\")) {
    folder[2] = L'?';  // a device path, already resolved
    return true;
  }
  if (StartsWith(folder, L"\\\\")) {
    const std::size_t serverEnd = folder.find(L'\\', 2);
    if (serverEnd == std::wstring::npos || serverEnd == 2) return false;
    const std::size_t shareEnd = folder.find(L'\\', serverEnd + 1);
    if (shareEnd == std::wstring::npos || shareEnd == serverEnd + 1) return false;
    folder.replace(0, 2, L"\\\\?\\UNC\\");
    return true;
  }
  if (folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\') {
    folder.insert(0, L"\\\\?\\");
    return true;
  }
  return false;
}

std::optional<FolderIdentity> IdentifyFolder(const wchar_t* path) {
  // Opening without FILE_FLAG_OPEN_REPARSE_POINT follows a link to its
  // target; FILE_FLAG_BACKUP_SEMANTICS lets a folder be opened at all.
  const UniqueHandle<FileHandleTraits> folder(
      ::CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(folder.get(), &info)) return std::nullopt;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::nullopt;
  return FolderIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | std::uint64_t{info.nFileIndexLow}};
}

struct StoredEntry {
  std::size_t name;  // offset into the ANSI names
  std::size_t nameSize;
  std::size_t wide;  // offset into the wide names (folders only)
  std::size_t wideSize;
  bool folder;
  bool link;
};

}  // namespace

struct FolderSearch::State {
  // The folder searched, in the long form and ending in a backslash: the
  // pattern is this and "*".
  std::wstring folder;
  // Whether the walk's text of the folder ends in a separator. Without one
  // (its name ended in a 0x5C byte), the text of an entry beneath runs on
  // from the name, and so does the path of a folder beneath.
  bool separated = true;
  std::string names;
  std::wstring wideNames;
  std::vector<StoredEntry> entries;
  std::wstring scratch;
  WIN32_FIND_DATAW data;

  void Clear() noexcept {
    names.clear();
    wideNames.clear();
    entries.clear();
  }

  // Where the entries' own paths begin: the folder's path, and a separator
  // only where the walk's text has one.
  void AppendEntryPrefix(std::wstring& out) const {
    out.append(folder, 0, separated ? folder.size() : folder.size() - 1);
  }

  void EntryPath(std::size_t index, std::wstring& out) const {
    const StoredEntry& entry = entries[index];
    out.clear();
    AppendEntryPrefix(out);
    out.append(wideNames, entry.wide, entry.wideSize);
  }

  bool Read() {
    Clear();
    scratch.assign(folder).push_back(L'*');
    const UniqueHandle<FindHandleTraits> search(StartSearch(scratch.c_str(), data));
    if (!search) return false;
    do {
      Add();
    } while (::FindNextFileW(search.get(), &data));  // its end, or any failure, ends the listing
    return true;
  }

  void Add() {
    const wchar_t* name = data.cFileName;
    const std::size_t size = std::wcslen(name);
    StoredEntry entry{};
    entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entry.name = names.size();
    AppendAnsi(names, name, size);
    entry.nameSize = names.size() - entry.name;
    if (entry.folder) {  // only a folder is reached by its name later
      entry.wide = wideNames.size();
      entry.wideSize = size;
      wideNames.append(name, size);
    }
    entries.push_back(entry);
  }
};

FolderSearch::FolderSearch() noexcept = default;
FolderSearch::~FolderSearch() = default;
FolderSearch::FolderSearch(FolderSearch&&) noexcept = default;
FolderSearch& FolderSearch::operator=(FolderSearch&&) noexcept = default;

bool FolderSearch::ReadStart(const Text& path, std::wstring_view widePath) {
  if (!state_) state_ = std::make_unique<State>();
  State& s = *state_;
  s.Clear();
  // The pattern the ANSI search was given: the text, then "\*".
  std::wstring pattern = widePath.empty() ? ToWide(path) : std::wstring(widePath);
  s.separated = !pattern.empty() && pattern.back() == L'\\';
  pattern.append(L"\\*");
  s.folder = FullPath(pattern);
  if (s.folder.size() < 2 || s.folder.back() != L'*' || s.folder[s.folder.size() - 2] != L'\\') return false;
  s.folder.pop_back();
  if (!ToLongPathForm(s.folder)) return false;
  return s.Read();
}

bool FolderSearch::ReadChild(const FolderSearch& parent, std::size_t index, bool separated) {
  if (!state_) state_ = std::make_unique<State>();
  State& s = *state_;
  const State& p = *parent.state_;
  p.EntryPath(index, s.folder);
  s.folder.push_back(L'\\');
  s.separated = separated;
  return s.Read();
}

std::size_t FolderSearch::Count() const noexcept { return state_ ? state_->entries.size() : 0; }

FolderEntry FolderSearch::Entry(std::size_t index) const noexcept {
  const StoredEntry& entry = state_->entries[index];
  return FolderEntry{std::string_view(state_->names).substr(entry.name, entry.nameSize), entry.folder, entry.link};
}

std::optional<FolderIdentity> FolderSearch::Identity() const {
  if (!state_) return std::nullopt;
  return IdentifyFolder(state_->folder.c_str());
}

std::optional<FolderIdentity> FolderSearch::EntryIdentity(std::size_t index) const {
  std::wstring path;
  state_->EntryPath(index, path);
  return IdentifyFolder(path.c_str());
}

void FolderSearch::Close() noexcept {
  if (state_) state_->Clear();
}

void OverrideFindFirstFileEx(FindFirstFileExWFn* replacement) noexcept {
  g_findFirstFileEx = replacement != nullptr ? replacement : &::FindFirstFileExW;
  g_plainSearchesOnly = false;
}

}  // namespace korvane
