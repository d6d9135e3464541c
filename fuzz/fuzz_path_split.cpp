// Any bytes as a path: the full split and the quick count must agree, every
// segment must lie inside the text, and no segment may hold a backslash that
// starts a character.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.hpp"
#include "listing/path_split.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> segments;
  korvane::SplitPath(text, segments);
  const korvane::PathTail tail = korvane::LastPathSegment(text);
  if (tail.count != segments.size()) std::abort();
  if (!segments.empty() && tail.last != segments.back()) std::abort();
  if (segments.empty() && !tail.last.empty()) std::abort();
  for (std::string_view segment : segments) {
    if (segment.data() < text.data() || segment.data() + segment.size() > text.data() + text.size()) std::abort();
    for (std::size_t i = 0; i < segment.size(); ++i) {
      const auto byte = static_cast<unsigned char>(segment[i]);
      if (byte == '\\') std::abort();
      if (korvane::IsLeadByte(byte)) ++i;  // its second byte may be anything
    }
  }
  return 0;
}
