// Any bytes as a list of paths (split at zero bytes): the whole chain of a
// listing and its export (path list, tree content, load, export text) must
// give the file that the plain rendering of tests/reference gives.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/path_list.hpp"
#include "export/export_text.hpp"
#include "listing/listing_loader.hpp"
#include "reference/listing_reference.hpp"
#include "treebox/tree_model.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> paths;
  std::string path;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i < size && data[i] != 0) {
      path += static_cast<char>(data[i]);
    } else if (!path.empty()) {  // a scan never lists an empty path
      paths.push_back(path);
      path.clear();
    }
  }
  korvane::PathList list;
  for (const std::string& p : paths) list.Append(p);
  korvane::TreeModel tree;
  tree.WriteContent(korvane::BuildListingContent(list, list.Count()));
  if (korvane::BuildExportText(tree) != korvane::reference::ExportOf(paths)) std::abort();
  return 0;
}
