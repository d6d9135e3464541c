// The folder search over FindFirstFileA/FindNextFileA/FindClose. Patterns and
// names are in the ANSI code page.
#include <windows.h>

#include "common/unique_handle.hpp"
#include "listing/folder_search.hpp"

namespace korvane {
namespace {

// FindFirstFileA fails with INVALID_HANDLE_VALUE, not null.
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

bool IsWanted(const WIN32_FIND_DATAA& data, EntryKind kind) noexcept {
  const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return folder == (kind == EntryKind::Folders);
}

}  // namespace

struct FolderSearch::State {
  UniqueHandle<FindHandleTraits> handle;
  WIN32_FIND_DATAA data{};
};

FolderSearch::FolderSearch() noexcept = default;
FolderSearch::~FolderSearch() = default;
FolderSearch::FolderSearch(FolderSearch&&) noexcept = default;
FolderSearch& FolderSearch::operator=(FolderSearch&&) noexcept = default;

std::string_view FolderSearch::FindEntry(const Text& pattern, EntryKind kind) {
  if (!pattern.empty()) {
    if (!state_) state_ = std::make_unique<State>();
    state_->handle.reset();  // FindClose before the new search
    state_->handle.reset(::FindFirstFileA(pattern.c_str(), &state_->data));
    if (!state_->handle) return {};
  } else {
    if (!state_ || !state_->handle) return {};
    if (!::FindNextFileA(state_->handle.get(), &state_->data)) {
      state_->handle.reset();
      return {};
    }
  }
  while (!IsWanted(state_->data, kind)) {
    if (!::FindNextFileA(state_->handle.get(), &state_->data)) {
      state_->handle.reset();  // the end of the listing, or any other failure
      return {};
    }
  }
  return std::string_view(state_->data.cFileName);
}

bool FolderSearch::EntryIsLink() const noexcept {
  return state_ && (state_->data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void FolderSearch::CloseFind() noexcept {
  if (state_) state_->handle.reset();
}

bool FolderSearch::IsOpen() const noexcept { return state_ && static_cast<bool>(state_->handle); }

std::optional<FolderIdentity> IdentifyFolder(const Text& path) {
  // Opening without FILE_FLAG_OPEN_REPARSE_POINT follows the link to its
  // target; FILE_FLAG_BACKUP_SEMANTICS lets a folder be opened at all.
  const UniqueHandle<FileHandleTraits> folder(
      ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(folder.get(), &info)) return std::nullopt;
  return FolderIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | std::uint64_t{info.nFileIndexLow}};
}

}  // namespace korvane
