#include "app/listing_progress_text.hpp"

#include <vector>

namespace korvane {
namespace {

constexpr char kListingPrefix[] = "正在列出… ";
constexpr char kEntriesSuffix[] = " 项  ";
constexpr char kEllipsis[] = "…";

// The byte offsets just after each backslash of path that ends a segment,
// skipping the second bytes of double-byte characters.
std::vector<std::size_t> SegmentStarts(std::string_view path) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(path[i]))) {
      ++i;
    } else if (path[i] == kBackslash && i + 1 < path.size()) {
      starts.push_back(i + 1);
    }
  }
  return starts;
}

}  // namespace

Text GroupedCount(std::size_t count) {
  const Text digits = std::to_string(count);
  Text grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(',');
    grouped.push_back(digits[i]);
  }
  return grouped;
}

Text ListingProgressText(std::size_t count, std::string_view folder, const std::function<bool(const Text&)>& fits) {
  const Text lead = kListingPrefix + GroupedCount(count) + kEntriesSuffix;
  Text text = lead + Text(folder);
  if (fits(text)) return text;
  const std::vector<std::size_t> starts = SegmentStarts(folder);
  if (starts.size() < 2) return text;
  // Keep the first segment; leave out one more segment after it each time.
  const std::string_view head = folder.substr(0, starts.front());
  for (std::size_t drop = 1; drop < starts.size(); ++drop) {
    text = lead + Text(head) + kEllipsis + kBackslash + Text(folder.substr(starts[drop]));
    if (fits(text)) return text;
  }
  return text;
}

}  // namespace korvane
