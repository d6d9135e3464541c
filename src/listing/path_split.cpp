#include "listing/path_split.hpp"

#include "common/text.hpp"

namespace korvane {
namespace {

// Calls segment(view) for each segment of text in order.
template <typename OnSegment>
void ForEachSegment(std::string_view text, OnSegment&& segment) {
  const std::size_t size = text.size();
  std::size_t begin = 0;
  std::size_t i = 0;
  while (i < size) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == static_cast<unsigned char>(kBackslash)) {
      segment(text.substr(begin, i - begin));
      begin = ++i;
    } else if (IsLeadByte(byte)) {
      // A lead byte with nothing after it ends the reading; it still belongs
      // to the last segment, so no byte of the text is lost.
      i = (i + 1 < size) ? i + 2 : size;
    } else {
      ++i;
    }
  }
  if (begin < size) segment(text.substr(begin));
}

}  // namespace

void SplitPath(std::string_view text, std::vector<std::string_view>& segments) {
  segments.clear();
  ForEachSegment(text, [&](std::string_view s) { segments.push_back(s); });
}

PathTail LastPathSegment(std::string_view text) noexcept {
  PathTail tail;
  ForEachSegment(text, [&](std::string_view s) {
    ++tail.count;
    tail.last = s;
  });
  return tail;
}

}  // namespace korvane
