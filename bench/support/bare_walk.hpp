#pragma once
// The floors for the scan: the platform's own folder search over every
// folder, counting entries and storing nothing, written as plainly as the
// API allows. Links to folders are counted and not entered.
#include <cstddef>

#include "common/text.hpp"

namespace korvane::bench {

struct WalkCount {
  std::size_t entries = 0;      // beneath the folder, "." and ".." not counted
  std::size_t folderLinks = 0;  // links to folders among them
};

// One read of each folder: FindFirstFileExW with basic information and large
// fetches on \\?\ paths under Windows, readdir elsewhere.
WalkCount BareWalk(const Text& folder);

// Two reads of each folder, one for sub-folders and one for files, as the
// scan once did: FindFirstFileA under Windows, readdir elsewhere.
WalkCount TwoPassWalk(const Text& folder);

// Whether a scan that found scanned entries found all the bare walk did:
// as many, or more where links lead to folders (the scan enters them).
inline bool ScanIsWhole(const WalkCount& bare, std::size_t scanned) {
  return bare.folderLinks == 0 ? scanned == bare.entries : scanned >= bare.entries;
}

}  // namespace korvane::bench
