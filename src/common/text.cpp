#include "common/text.hpp"

#include <algorithm>
#include <cstring>

namespace korvane {

int CompareText(std::string_view a, std::string_view b) noexcept {
  const std::size_t common = std::min(a.size(), b.size());
  const int bytes = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);  // memcmp compares unsigned
  if (bytes != 0) return bytes < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EndsWithBackslashByte(std::string_view text) noexcept { return !text.empty() && text.back() == kBackslash; }

Text WithTrailingBackslash(std::string_view text) {
  Text result;
  result.reserve(text.size() + 1);
  result.append(text);
  if (!EndsWithBackslashByte(text)) result.push_back(kBackslash);
  return result;
}

}  // namespace korvane
