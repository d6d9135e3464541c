#pragma once
// Splitting a path at backslashes, aware of double-byte characters: a byte
// with its high bit set takes the byte after it along, so a second byte of
// 0x5C never splits. Leading empty segments are kept (\\srv\share\x has five
// segments); a text that ends in a backslash has no empty last segment; an
// empty text has none. The views point into text.
#include <cstddef>
#include <string_view>
#include <vector>

namespace korvane {

// Replaces segments by the segments of text.
void SplitPath(std::string_view text, std::vector<std::string_view>& segments);

struct PathTail {
  std::size_t count = 0;  // number of segments
  std::string_view last;  // the last segment; empty when there is none
};

// The number of segments and the last one, without building the list.
[[nodiscard]] PathTail LastPathSegment(std::string_view text) noexcept;

}  // namespace korvane
