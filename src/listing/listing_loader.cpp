#include "listing/listing_loader.hpp"

#include "listing/folder_scan.hpp"
#include "listing/path_split.hpp"
#include "treebox/tree_content.hpp"

namespace korvane {

void AppendTreeRecord(ByteBuffer& content, std::string_view text, std::int32_t itemData, std::int32_t indentLevel,
                      std::int32_t image, std::int32_t selectedImage, std::int32_t flags) {
  TreeItemRecord record;
  record.ItemText = text;
  record.Image = image;
  record.SelectedImage = selectedImage;
  record.ItemData = itemData;
  record.Flags = flags;
  record.IndentLevel = indentLevel;
  AppendRecord(content, record);
}

ByteBuffer BuildListingContent(const PathList& paths, std::size_t count) {
  // Sized exactly first, so the buffer grows once however long the list is.
  std::size_t size = 0;
  for (std::size_t i = 0; i < count; ++i) size += LastPathSegment(paths.At(i)).last.size() + 1 + kRecordFixedBytes;
  ByteBuffer content;
  content.reserve(size);
  for (std::size_t i = 0; i < count; ++i) {
    const PathTail tail = LastPathSegment(paths.At(i));
    AppendTreeRecord(content, tail.last, 0, static_cast<std::int32_t>(tail.count), 0, 0, 0);
  }
  return content;
}

namespace {

// The listing of the folder the edit box names; written, with its wide form,
// is what was just written into the edit box, if anything.
void Listing(EditBox& edit, TreeBox& tree, PathList& paths, const Text* written, std::wstring_view widePath) {
  tree.Clear();
  Text start = edit.GetText();
  if (written == nullptr || start != *written) widePath = {};
  ScanFolder(start, paths, widePath);
  const std::size_t count = paths.Count();  // read once
  tree.WriteContent(BuildListingContent(paths, count));
}

}  // namespace

void RunListing(EditBox& edit, TreeBox& tree, PathList& paths) { Listing(edit, tree, paths, nullptr, {}); }

void ListDroppedFolder(const Text& path, EditBox& edit, TreeBox& tree, PathList& paths, std::wstring_view widePath) {
  edit.SetText(path);
  Listing(edit, tree, paths, &path, widePath);
}

}  // namespace korvane
