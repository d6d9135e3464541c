#include "export/export_text.hpp"

#include <cstddef>
#include <string_view>

namespace korvane {
namespace {

constexpr std::string_view kIndent = "----";
constexpr std::string_view kLineBreak = "\r\n";
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
    for (int step = 0; step < level; ++step) content.append(kIndent);
    content.append(text);
  }
  return content;
}

}  // namespace korvane
