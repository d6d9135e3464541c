#pragma once
// Machine code of the window-procedure stub of the drop hook. Windows calls
// the stub as a window procedure (window, message, wParam, lParam); the stub
// calls target with a bound reference added in front (reference, window,
// message, wParam, lParam) and returns target's result unchanged.
//
// The bytes do not depend on where they are placed, so they are made here,
// portably, and tested on any host.
#include <cstdint>

#include "common/byte_buffer.hpp"

namespace korvane {

// x86, stdcall on both sides: target is a stdcall routine of five 32-bit
// arguments (it removes 20 bytes), the stub's caller expects 16 removed.
ByteBuffer MakeWndProcStubX86(std::uint32_t target, std::uint32_t reference);

// x64, the Microsoft calling convention on both sides. The stub has a frame
// of its own: 32 bytes of shadow space for target, the fifth argument above
// them, the stack 16-byte aligned at the call.
ByteBuffer MakeWndProcStubX64(std::uint64_t target, std::uint64_t reference);

// The x64 stub's frame, for its unwind data: the prolog is one
// "sub rsp, kWndProcStubX64Frame" of kWndProcStubX64PrologSize bytes.
inline constexpr std::uint8_t kWndProcStubX64PrologSize = 4;
inline constexpr std::uint8_t kWndProcStubX64Frame = 0x38;

// The UNWIND_INFO bytes (version 1, no handler) that describe that prolog,
// so that the system can walk the stack through the stub.
ByteBuffer MakeWndProcStubX64UnwindInfo();

}  // namespace korvane
