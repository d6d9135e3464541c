#pragma once
// The export: the tree's items become "目录生成.txt" on the user's desktop.
// What the user is told about it is the caller's business.
#include "common/text.hpp"
#include "treebox/tree_box.hpp"

namespace korvane {

struct ExportOutcome {
  bool written = false;  // the file now holds exactly the export text
  Text fileName;         // the desktop file, written or not
};

// Writes the export text of tree to the desktop file, replacing an earlier
// file only once every byte of the new one is written.
[[nodiscard]] ExportOutcome ExportListing(const TreeBox& tree);

}  // namespace korvane
