#include "export/listing_export_win32.hpp"

#include "export/export_text.hpp"
#include "export/replace_file_win32.hpp"
#include "export/special_folder_win32.hpp"

namespace korvane {
namespace {

constexpr char kExportFileName[] = "目录生成.txt";

}  // namespace

ExportOutcome ExportListing(const TreeBox& tree) {
  const Text content = BuildExportText(tree);
  ExportOutcome outcome;
  // The folder's path already ends in "\"; an empty one makes the name
  // "\目录生成.txt": the root of the current drive.
  outcome.fileName = EnsureTrailingBackslash(GetSpecialFolderPath(kDesktopFolderKind)) + kExportFileName;
  outcome.written = ReplaceFileContent(outcome.fileName, content);
  return outcome;
}

}  // namespace korvane
