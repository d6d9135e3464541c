#pragma once
// The label's text while a long listing runs: how many entries were found so
// far and the folder being read, the folder shortened in the middle so that
// the whole text fits the label.
#include <cstddef>
#include <functional>
#include <string_view>

#include "common/text.hpp"

namespace korvane {

// count with a comma between groups of three digits: 1234567 -> "1,234,567".
Text GroupedCount(std::size_t count);

// "正在列出… 12,345 项  " followed by folder. When fits says the text is too
// wide, the folder keeps its first segment and as many whole segments at its
// end as fit, with "…" in place of the rest: "D:\…\deep\folder". Segments
// are found by characters, so a double-byte character whose second byte is
// 0x5C never splits one. The last segment is kept even if it does not fit.
Text ListingProgressText(std::size_t count, std::string_view folder, const std::function<bool(const Text&)>& fits);

}  // namespace korvane
