#pragma once
// Special folder lookup: the path of one of the user's or the system's
// well-known folders, as a Text in code page 936 whatever the system's ANSI
// code page is. Windows hands the path over in UTF-16.
#include <cstdint>
#include <optional>

#include "common/byte_buffer.hpp"
#include "common/text.hpp"

namespace korvane {

// Folder kinds 1 to 13; every other kind counts as kDesktopFolderKind.
inline constexpr std::int32_t kDesktopFolderKind = 3;
inline constexpr std::uint32_t kExportCodePage = 936;

// The folder's path ending in "\" (kind 11: exactly as GetTempPathW gives
// it), converted with code page 936; empty when Windows gives no path. A
// folderId (a CSIDL value, passed to the shell unchanged) overrides kind.
Text GetSpecialFolderPath(std::int32_t kind = 0, std::optional<std::int32_t> folderId = std::nullopt);

// The same lookup, as UTF-16LE code units followed by a two-byte terminator;
// empty when Windows gives no path.
ByteBuffer GetSpecialFolderPathWide(std::int32_t kind, std::optional<std::int32_t> folderId = std::nullopt);

// UTF-16LE code units (a terminator is optional) converted to codePage; the
// bytes before the first zero byte of the conversion. Empty for no text.
Text WideToText(const ByteBuffer& wide, std::uint32_t codePage);

}  // namespace korvane
