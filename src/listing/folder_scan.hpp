#pragma once
// ScanFolder: appends the full path of every sub-folder and file beneath a
// folder to the path list, depth first. Inside each folder the sub-folders
// come first, each followed at once by everything beneath it, then the
// folder's files; entries keep the order in which the file system lists them.
// Each folder is read once.
#include <string_view>

#include "common/path_list.hpp"
#include "common/text.hpp"

namespace korvane {

// Makes path end in a backslash (by its last byte) and appends what lies
// beneath it, each entry as path followed by the names on the way, in the
// ANSI code page. The start folder itself is never appended.
//
// widePath, when not empty, is the same folder in UTF-16 as the system handed
// it over (a dropped folder), path being its ANSI form: the folder is reached
// through it, so a folder whose own name the ANSI code page cannot hold is
// listed too.
//
// Links: a folder reached through a link is appended like any other but
// entered only when it is none of the folders being walked (the start folder
// and the folders the walk is inside of) and no earlier link of this scan has
// led into it; so links cannot make the walk go round in a circle or expand
// without bound. Folders that are no links cost nothing extra.
void ScanFolder(Text& path, PathList& paths, std::wstring_view widePath = {});

}  // namespace korvane
