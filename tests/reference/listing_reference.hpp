#pragma once
// The listing and its export written out plainly, for tests and fuzz targets
// to check the program's chain against: a path's segments, and the export
// file that a list of paths gives.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "reference/load_rule_reference.hpp"

namespace korvane::reference {

// The segments of a path in code page 936: first the bytes that separate
// (a backslash that is not the second byte of a double-byte character), then
// the text cut at them. A separator at the very end closes the last segment
// rather than opening an empty one.
inline std::vector<std::string> Segments(const std::string& path) {
  std::vector<std::size_t> cuts;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (byte >= 0x80) {
      ++i;  // the next byte is this character's second byte, whatever it is
    } else if (byte == '\\') {
      cuts.push_back(i);
    }
  }
  std::vector<std::string> segments;
  std::size_t begin = 0;
  for (const std::size_t cut : cuts) {
    segments.push_back(path.substr(begin, cut - begin));
    begin = cut + 1;
  }
  if (begin < path.size()) segments.push_back(path.substr(begin));
  return segments;
}

// The export file after listing paths: each path an item named by its last
// segment at the level of its segment count, placed by the load rule, and
// written as "----" per depth and the name, lines joined by CR LF.
inline std::string ExportOf(const std::vector<std::string>& paths) {
  std::vector<std::int32_t> levels;
  std::vector<std::string> names;
  for (const std::string& path : paths) {
    const std::vector<std::string> segments = Segments(path);
    levels.push_back(static_cast<std::int32_t>(segments.size()));
    names.push_back(segments.empty() ? std::string() : segments.back());
  }
  const std::vector<int> depths = Depths(LoadParents(levels));
  std::string file;
  for (std::size_t i = 0; i < depths.size(); ++i) {
    if (i > 0) file += "\r\n";
    for (int d = 0; d < depths[i]; ++d) file += "----";
    file += names[i];
  }
  return file;
}

}  // namespace korvane::reference
