#pragma once
// TreeItemRecord and TreeContent: the byte format by which a tree box is
// loaded whole. A record is, back to back and without alignment:
//   ItemText       the text's bytes and one zero byte
//   Image          32-bit signed, little-endian
//   SelectedImage  32-bit signed, little-endian
//   ItemData       32-bit signed, little-endian
//   Flags          32-bit, little-endian (see the kFlag... constants)
//   IndentLevel    32-bit signed, little-endian
// A TreeContent is records back to back; an empty buffer is an empty content.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/byte_buffer.hpp"

namespace korvane {

struct TreeItemRecord {
  std::string_view ItemText;  // without the terminating zero
  std::int32_t Image = 0;
  std::int32_t SelectedImage = 0;
  std::int32_t ItemData = 0;
  std::int32_t Flags = 0;
  std::int32_t IndentLevel = 0;
};

inline constexpr std::int32_t kFlagBold = 1 << 0;
inline constexpr std::int32_t kFlagExpanded = 1 << 1;
inline constexpr int kStateImageShift = 28;  // bits 28-31: state picture, 0 none

inline constexpr bool IsBold(std::int32_t flags) noexcept { return (flags & kFlagBold) != 0; }
inline constexpr bool IsExpanded(std::int32_t flags) noexcept { return (flags & kFlagExpanded) != 0; }
inline constexpr int StateImage(std::int32_t flags) noexcept {
  return static_cast<int>((static_cast<std::uint32_t>(flags) >> kStateImageShift) & 0xFu);
}

// The fixed part after the text's zero byte: five 32-bit fields.
inline constexpr std::size_t kRecordFixedBytes = 5 * 4;

// Appends one record. A text holding a zero byte would end early when read
// back; the program's texts never hold one.
void AppendRecord(ByteBuffer& content, const TreeItemRecord& record);

// Reads the records of a content one after another. The views handed out
// point into the content, which must outlive them.
//
// A damaged content (one that ends inside a record: a text without its zero
// byte, or fewer than twenty bytes after it) is read up to the damaged
// record: the records before it count, the damaged one and the bytes after it
// are ignored, and Damaged() tells so. Nothing past the end is ever read.
// IndentLevel is taken as it stands, negative values included: the load rule
// only compares levels, so any value is safe.
class TreeContentReader {
 public:
  explicit TreeContentReader(const ByteBuffer& content) noexcept
      : next_(content.data()), end_(content.data() + content.size()) {}

  // The next whole record; false at the end of the content or at a damaged record.
  [[nodiscard]] bool Next(TreeItemRecord& record) noexcept;

  // True when reading stopped at a record that the content cuts off.
  bool Damaged() const noexcept { return damaged_; }

 private:
  const std::uint8_t* next_;
  const std::uint8_t* end_;
  bool damaged_ = false;
};

}  // namespace korvane
