#include <windows.h>

#include "common/fatal_error.hpp"

namespace korvane {

void FatalError(const char* message) noexcept {
  MessageBoxA(nullptr, message, "Korvane1.1", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  // ExitProcess, not exit(): the exit callbacks must not run after a fatal error.
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace korvane
