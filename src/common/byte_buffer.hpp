#pragma once
// ByteBuffer: a counted sequence of bytes, zeros allowed. Empty and missing
// are the same thing.
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvane {

using ByteBuffer = std::vector<std::uint8_t>;

// Appends the 32-bit value's four bytes, least significant first.
inline void AppendInt32LE(ByteBuffer& buffer, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                                 static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
  buffer.insert(buffer.end(), bytes, bytes + 4);
}

// Reads four bytes, least significant first. The caller checks the bounds.
inline std::int32_t ReadInt32LE(const std::uint8_t* bytes) noexcept {
  const std::uint32_t bits = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
                             std::uint32_t{bytes[3]} << 24;
  return static_cast<std::int32_t>(bits);
}

inline void AppendBytes(ByteBuffer& buffer, std::string_view bytes) {
  buffer.insert(buffer.end(), bytes.begin(), bytes.end());
}

}  // namespace korvane
