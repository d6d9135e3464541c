#pragma once
// ScanFolder: appends the full path of every sub-folder and file beneath a
// folder to the path list, depth first. Inside each folder the sub-folders
// come first, each followed at once by everything beneath it, then the
// folder's files; entries keep the order in which the file system lists them.
#include "common/path_list.hpp"
#include "common/text.hpp"

namespace korvane {

// Makes path end in a backslash (by its last byte) and appends what lies
// beneath it. The start folder itself is never appended. A folder reached
// through a link that leads back to a folder being walked is appended but not
// entered.
void ScanFolder(Text& path, PathList& paths);

}  // namespace korvane
