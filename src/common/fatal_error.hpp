#pragma once
// Fatal errors: the program shows one message and ends with exit code -1.
// The exit callbacks do not run.

namespace korvane {

[[noreturn]] void FatalError(const char* message) noexcept;

// The fatal error of an exception that reached a window procedure.
[[noreturn]] void FatalInternalError() noexcept;

// Makes a failed allocation a fatal error instead of an exception.
void InstallOutOfMemoryHandler() noexcept;

}  // namespace korvane
