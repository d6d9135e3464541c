#include "export/export_text.hpp"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace korvane {
namespace {

constexpr std::string_view kIndent = "----";
constexpr std::string_view kLineBreak = "\r\n";
// The indents of 32 levels in one piece: one append per line instead of one
// per level.
constexpr std::string_view kIndentRun =
    "----------------------------------------------------------------"
    "----------------------------------------------------------------";
static_assert(kIndentRun.size() % kIndent.size() == 0, "whole indents only");
// A first guess of one line's size (a few levels and a short name); the
// buffer grows geometrically past it, so the build stays linear.
constexpr std::size_t kTypicalLineSize = 32;

}  // namespace

Text BuildExportText(const TreeBox& tree) {
  const int count = tree.ItemCount();  // read once; the loop goes by it
  Text content;
  if (count <= 0) return content;
  content.reserve(static_cast<std::size_t>(count) * kTypicalLineSize);
  for (int index = 0; index < count; ++index) {
    const int level = tree.IndentLevel(index);
    const Text text = tree.ItemText(index);
    if (!content.empty()) content.append(kLineBreak);
    for (std::size_t dashes = level > 0 ? static_cast<std::size_t>(level) * kIndent.size() : 0; dashes > 0;) {
      const std::size_t piece = std::min(dashes, kIndentRun.size());
      content.append(kIndentRun.data(), piece);
      dashes -= piece;
    }
    content.append(text);
  }
  return content;
}

}  // namespace korvane
