// Any bytes as a path: the segments must be those of the plain reading
// (tests/reference), joined with backslashes they must give back the path
// less one trailing backslash, and the quick count must agree.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "listing/path_split.hpp"
#include "reference/listing_reference.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> segments;
  korvane::SplitPath(text, segments);
  if (std::vector<std::string>(segments.begin(), segments.end()) != korvane::reference::Segments(text)) std::abort();

  std::string joined;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) joined += '\\';
    joined += segments[i];
  }
  if (joined != text && joined + '\\' != text) std::abort();

  const korvane::PathTail tail = korvane::LastPathSegment(text);
  if (tail.count != segments.size()) std::abort();
  if (std::string(tail.last) != (segments.empty() ? std::string() : std::string(segments.back()))) std::abort();
  return 0;
}
