#pragma once
// The listing: a folder becomes the content of the tree box. The tree box is
// always loaded from the whole path list, so each listing shows every listing
// since start-up, the earlier ones first.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/byte_buffer.hpp"
#include "common/path_list.hpp"
#include "common/text.hpp"
#include "listing/edit_box.hpp"
#include "treebox/tree_box.hpp"

namespace korvane {

// Clears the tree, scans the folder named by the edit box's text into paths,
// and loads the tree in one write with one record per entry of paths.
void RunListing(EditBox& edit, TreeBox& tree, PathList& paths);

// A folder to list as if dropped: its ANSI text, and the same path in UTF-16
// when the system handed it over so (empty otherwise).
struct DroppedFolder {
  Text path;
  std::wstring widePath;
};

// Writes path into the edit box, then runs the listing. widePath, when not
// empty, is the dropped path in UTF-16 as the system handed it over, path
// being its ANSI form: when the edit box gives path back unchanged, the
// folder is reached through widePath (its ANSI form may have lost characters
// that the code page cannot hold).
void ListDroppedFolder(const Text& path, EditBox& edit, TreeBox& tree, PathList& paths,
                       std::wstring_view widePath = {});

// Appends one tree item record. The parameters come in this order; the
// record's fields are text, a zero byte, image, selectedImage, itemData,
// flags and indentLevel, each integer 32-bit little-endian. (A Text converts
// to the view; the view spares the loader a copy of each segment.)
void AppendTreeRecord(ByteBuffer& content, std::string_view text, std::int32_t itemData, std::int32_t indentLevel,
                      std::int32_t image, std::int32_t selectedImage, std::int32_t flags);

// The tree content for the first count entries of paths: text the last path
// segment, indent level the number of segments, every other field 0.
[[nodiscard]] ByteBuffer BuildListingContent(const PathList& paths, std::size_t count);

}  // namespace korvane
