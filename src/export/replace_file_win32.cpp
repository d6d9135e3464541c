#include "export/replace_file_win32.hpp"

namespace korvane {

bool ReplaceFileContent(const Text&, std::string_view) { return false; }

}  // namespace korvane
