#pragma once
// The export text: one line per tree item in ItemIndex order, "----" once per
// indent level before the item's text, "\r\n" between lines (none before the
// first or after the last). An empty tree gives no bytes.
#include <string_view>

#include "common/text.hpp"
#include "treebox/tree_box.hpp"

namespace korvane {

// The item texts are copied byte for byte, in whatever code page the tree
// holds them. Linear in the size of the result.
Text BuildExportText(const TreeBox& tree);

// A copy of path ending in "\": appended when the last byte is not 0x5C (the
// last byte, not the last character); an empty path gives "\".
inline Text EnsureTrailingBackslash(std::string_view path) { return WithTrailingBackslash(path); }

}  // namespace korvane
