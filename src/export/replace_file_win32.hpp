#pragma once
// Replacing a whole file safely: the new bytes go to a temporary file in the
// same folder, which takes the old file's place only when all of them are
// written. On failure the old file is left as it was and the temporary file
// is removed.
#include <string_view>

#include "common/text.hpp"

namespace korvane {

// name is an ANSI path. True when name now holds exactly bytes.
[[nodiscard]] bool ReplaceFileContent(const Text& name, std::string_view bytes);

}  // namespace korvane
