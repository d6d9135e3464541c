#pragma once
// The folders given on the command line: `korvane.exe FOLDER…`, as Explorer
// starts the program for folders dropped on its icon or sent to it.
#include <vector>

#include "listing/listing_loader.hpp"

namespace korvane {

// The arguments after the program's name, split as Windows splits a command
// line (quotes, spaces, backslashes before quotes), each in the ANSI code
// page and as given. Empty without arguments.
std::vector<DroppedFolder> CommandLineFolders();

}  // namespace korvane
