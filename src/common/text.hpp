#pragma once
// Text: a byte string in the ANSI code page (936 on the target systems).
// An empty std::string stands for both the empty and the missing Text: the
// program never tells them apart.
#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

using Text = std::string;

inline constexpr char kBackslash = '\\';

// Byte-wise comparison with the bytes taken as unsigned: -1, 0 or 1.
int CompareText(std::string_view a, std::string_view b) noexcept;

// True when the last byte is 0x5C. Looks at the last byte alone, not the last
// character, so a double-byte character whose second byte is 0x5C counts.
bool EndsWithBackslashByte(std::string_view text) noexcept;

// A copy of text, with "\" appended unless its last byte already is one; an
// empty text gives "\".
Text WithTrailingBackslash(std::string_view text);

// In code page 936 a byte with its high bit set starts a double-byte
// character; the byte after it belongs to the same character.
inline constexpr bool IsLeadByte(unsigned char byte) noexcept { return byte >= 0x80; }

}  // namespace korvane
