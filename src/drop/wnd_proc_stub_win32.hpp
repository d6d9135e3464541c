#pragma once
// Writes a window-procedure stub (see wnd_proc_stub.hpp) for the running
// process's architecture into executable memory of its own.
#include <windows.h>

#include <cstdint>

namespace korvane {

// A fresh 4096-byte block from VirtualAlloc holding a stub that calls target
// (a CALLBACK routine of five arguments) with reference in front of the
// window procedure's four. Null when no memory could be had; then nothing
// was written. The block is never released.
[[nodiscard]] WNDPROC WriteWndProcStub(std::uintptr_t target, std::uintptr_t reference);

}  // namespace korvane
