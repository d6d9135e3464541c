#include "treebox/tree_content.hpp"

#include <cstring>

namespace korvane {

void AppendRecord(ByteBuffer& content, const TreeItemRecord& record) {
  AppendBytes(content, record.ItemText);
  content.push_back(0);
  AppendInt32LE(content, record.Image);
  AppendInt32LE(content, record.SelectedImage);
  AppendInt32LE(content, record.ItemData);
  AppendInt32LE(content, record.Flags);
  AppendInt32LE(content, record.IndentLevel);
}

bool TreeContentReader::Next(TreeItemRecord& record) noexcept {
  if (next_ == end_ || damaged_) return false;
  const auto left = static_cast<std::size_t>(end_ - next_);
  const void* zero = std::memchr(next_, 0, left);
  if (zero == nullptr) {
    damaged_ = true;  // the text runs to the end without its zero byte
    return false;
  }
  const auto* fields = static_cast<const std::uint8_t*>(zero) + 1;
  if (static_cast<std::size_t>(end_ - fields) < kRecordFixedBytes) {
    damaged_ = true;  // the content ends inside the fixed fields
    return false;
  }
  const auto textLength = static_cast<std::size_t>(fields - 1 - next_);
  record.ItemText = std::string_view(reinterpret_cast<const char*>(next_), textLength);
  record.Image = ReadInt32LE(fields);
  record.SelectedImage = ReadInt32LE(fields + 4);
  record.ItemData = ReadInt32LE(fields + 8);
  record.Flags = ReadInt32LE(fields + 12);
  record.IndentLevel = ReadInt32LE(fields + 16);
  next_ = fields + kRecordFixedBytes;
  return true;
}

}  // namespace korvane
