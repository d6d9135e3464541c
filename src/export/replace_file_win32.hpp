#pragma once
// Replacing a whole file safely: the new bytes go to a temporary file in the
// same folder, which takes the old file's place only when all of them are
// written and flushed. On failure the old file is left as it was and the
// temporary file is removed.
//
// The temporary file and the move work on wide "\\?\" paths, so the longer
// temporary name never fails where the final name alone would fit.
#include <windows.h>

#include <string>
#include <string_view>

#include "common/text.hpp"

namespace korvane {

// name is an ANSI path. True when name now holds exactly bytes.
[[nodiscard]] bool ReplaceFileContent(const Text& name, std::string_view bytes);

// The calls that can fail half-way through a replacement.
struct ReplaceFileCalls {
  decltype(&::WriteFile) WriteFile = &::WriteFile;
  decltype(&::FlushFileBuffers) FlushFileBuffers = &::FlushFileBuffers;
  decltype(&::MoveFileExW) MoveFileExW = &::MoveFileExW;
};

// Test seam: later replacements make these calls (nullptr: the system's).
void SetReplaceFileCalls(const ReplaceFileCalls* calls) noexcept;

// The "\\?\" form of an ANSI path, made absolute; empty when it has none.
std::wstring ExtendedLengthPath(const Text& name);

// The temporary file's name for name on the given try (0 first), as a
// "\\?\" path: name, then ".~<process id>-<try>.tmp".
std::wstring TemporaryNameFor(const Text& name, unsigned attempt);

}  // namespace korvane
