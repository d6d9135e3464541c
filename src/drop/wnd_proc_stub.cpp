#include "drop/wnd_proc_stub.hpp"

#include <initializer_list>

namespace korvane {
namespace {

// Byte by byte: GCC 12's -Wstringop-overflow misreads a range insert into an
// empty vector in optimised builds.
void Append(ByteBuffer& code, std::initializer_list<std::uint8_t> bytes) {
  for (std::uint8_t byte : bytes) code.push_back(byte);
}

void AppendLE(ByteBuffer& code, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) code.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

ByteBuffer MakeWndProcStubX86(std::uint32_t target, std::uint32_t reference) {
  // The return address comes off, the reference goes under it as the new
  // first argument, and target returns straight to our caller. Target's
  // "ret 20" then removes the caller's four arguments and the reference.
  ByteBuffer code;
  // The bytes read as an assembly listing.
  // clang-format off
  Append(code, {0x58});        // pop eax            ; return address
  Append(code, {0x68});        // push reference
  AppendLE(code, reference, 4);
  Append(code, {0x50});        // push eax
  Append(code, {0xB9});        // mov ecx, target    ; ecx is free in stdcall
  AppendLE(code, target, 4);
  Append(code, {0xFF, 0xE1});  // jmp ecx
  // clang-format on
  return code;
}

ByteBuffer MakeWndProcStubX64(std::uint64_t target, std::uint64_t reference) {
  // On entry rsp is 8 below a 16-byte boundary; the frame of 0x38 bytes puts
  // it on one again, with shadow space at [rsp] and the fifth argument at
  // [rsp+0x20].
  ByteBuffer code;
  // The bytes read as an assembly listing.
  // clang-format off
  Append(code, {0x48, 0x83, 0xEC, kWndProcStubX64Frame});  // sub rsp, 0x38
  Append(code, {0x4C, 0x89, 0x4C, 0x24, 0x20});            // mov [rsp+0x20], r9   ; lParam
  Append(code, {0x4D, 0x89, 0xC1});                        // mov r9, r8           ; wParam
  Append(code, {0x49, 0x89, 0xD0});                        // mov r8, rdx          ; message
  Append(code, {0x48, 0x89, 0xCA});                        // mov rdx, rcx         ; window
  Append(code, {0x48, 0xB9});                              // mov rcx, reference
  AppendLE(code, reference, 8);
  Append(code, {0x48, 0xB8});                              // mov rax, target
  AppendLE(code, target, 8);
  Append(code, {0xFF, 0xD0});                              // call rax
  Append(code, {0x48, 0x83, 0xC4, kWndProcStubX64Frame});  // add rsp, 0x38
  Append(code, {0xC3});                                    // ret
  // clang-format on
  return code;
}

ByteBuffer MakeWndProcStubX64UnwindInfo() {
  constexpr std::uint8_t kVersion1 = 1;
  constexpr std::uint8_t kAllocSmall = 2;  // UWOP_ALLOC_SMALL: (info + 1) * 8 bytes
  constexpr std::uint8_t kAllocInfo = kWndProcStubX64Frame / 8 - 1;
  ByteBuffer info;
  // clang-format off
  Append(info, {kVersion1, kWndProcStubX64PrologSize, 1, 0});                           // header: one code
  Append(info, {kWndProcStubX64PrologSize, static_cast<std::uint8_t>(kAllocSmall | kAllocInfo << 4)});
  Append(info, {0, 0});  // the code array has an even number of slots
  // clang-format on
  return info;
}

}  // namespace korvane
