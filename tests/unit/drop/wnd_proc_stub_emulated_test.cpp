// The window-procedure stubs executed for real in an emulated processor:
// called as a window procedure, each must reach the target with the bound
// reference in front of the four arguments, return the target's result and
// leave the caller's stack as the calling convention demands.
#include <gtest/gtest.h>
#include <unicorn/unicorn.h>

#include <array>
#include <cstdint>
#include <vector>

#include "drop/wnd_proc_stub.hpp"

namespace korvane {
namespace {

constexpr std::uint64_t kCodeBase = 0x100000;
constexpr std::uint64_t kStub = kCodeBase;
constexpr std::uint64_t kTarget = kCodeBase + 0x100;
constexpr std::uint64_t kReturnAddress = kCodeBase + 0x200;  // where the caller resumes
constexpr std::uint64_t kStackBase = 0x200000;
constexpr std::uint64_t kStackSize = 0x10000;

// One emulated processor with a code page and a stack.
class Emulator {
 public:
  explicit Emulator(uc_mode mode) {
    EXPECT_EQ(uc_open(UC_ARCH_X86, mode, &uc_), UC_ERR_OK);
    EXPECT_EQ(uc_mem_map(uc_, kCodeBase, 0x1000, UC_PROT_ALL), UC_ERR_OK);
    EXPECT_EQ(uc_mem_map(uc_, kStackBase, kStackSize, UC_PROT_READ | UC_PROT_WRITE), UC_ERR_OK);
  }
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;
  ~Emulator() { uc_close(uc_); }

  void Write(std::uint64_t address, const std::vector<std::uint8_t>& bytes) {
    ASSERT_EQ(uc_mem_write(uc_, address, bytes.data(), bytes.size()), UC_ERR_OK);
  }
  void Write64(std::uint64_t address, std::uint64_t value) { Write(address, LittleEndian(value, 8)); }
  void Write32(std::uint64_t address, std::uint32_t value) { Write(address, LittleEndian(value, 4)); }
  std::uint64_t Read(std::uint64_t address, int size) {
    std::array<std::uint8_t, 8> bytes{};
    EXPECT_EQ(uc_mem_read(uc_, address, bytes.data(), size), UC_ERR_OK);
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
  }
  void SetRegister(int reg, std::uint64_t value) { ASSERT_EQ(uc_reg_write(uc_, reg, &value), UC_ERR_OK); }
  std::uint64_t Register(int reg) {
    std::uint64_t value = 0;
    EXPECT_EQ(uc_reg_read(uc_, reg, &value), UC_ERR_OK);
    return value;
  }

  // Runs from begin until the processor reaches until (or 1000 instructions).
  uc_err Run(std::uint64_t begin, std::uint64_t until) { return uc_emu_start(uc_, begin, until, 0, 1000); }

  // Calls onTarget(emulator) each time execution reaches the target.
  template <typename F>
  void OnTarget(F& onTarget) {
    uc_hook hook{};
    ASSERT_EQ(
        uc_hook_add(uc_, &hook, UC_HOOK_CODE, reinterpret_cast<void*>(&Trampoline<F>), &onTarget, kTarget, kTarget),
        UC_ERR_OK);
  }

  static std::vector<std::uint8_t> LittleEndian(std::uint64_t value, int size) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return bytes;
  }

 private:
  template <typename F>
  static void Trampoline(uc_engine*, std::uint64_t, std::uint32_t, void* user) {
    (*static_cast<F*>(user))();
  }

  uc_engine* uc_ = nullptr;
};

std::vector<std::uint8_t> Concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(WndProcStubX86, ReachesTheStdcallTargetWithTheReferenceFirstAndBalancesTheStack) {
  constexpr std::uint32_t kReference = 0x11223344;
  constexpr std::array<std::uint32_t, 4> kArgs = {0xAAAA0001, 0x00000233, 0xDEADBEEF, 0xCAFEF00D};
  constexpr std::uint32_t kResult = 0x5A5A1234;
  constexpr std::uint32_t kCallerEsp = 0x20F000;  // before the arguments are pushed

  Emulator cpu(UC_MODE_32);
  cpu.Write(kStub, MakeWndProcStubX86(static_cast<std::uint32_t>(kTarget), kReference));
  // The target: mov eax, kResult; ret 20 (stdcall with five arguments).
  cpu.Write(kTarget, Concat(Concat({0xB8}, Emulator::LittleEndian(kResult, 4)), {0xC2, 0x14, 0x00}));

  // The caller: stdcall pushes the arguments right to left, then the call
  // pushes the return address.
  std::uint32_t esp = kCallerEsp;
  for (auto it = kArgs.rbegin(); it != kArgs.rend(); ++it) cpu.Write32(esp -= 4, *it);
  cpu.Write32(esp -= 4, static_cast<std::uint32_t>(kReturnAddress));
  cpu.SetRegister(UC_X86_REG_ESP, esp);
  const std::array<int, 4> kPreserved = {UC_X86_REG_EBX, UC_X86_REG_ESI, UC_X86_REG_EDI, UC_X86_REG_EBP};
  for (std::size_t i = 0; i < kPreserved.size(); ++i) cpu.SetRegister(kPreserved[i], 0x0BAD0000 + i);

  int targetCalls = 0;
  std::array<std::uint32_t, 6> seen{};  // return address and the five arguments
  auto onTarget = [&] {
    ++targetCalls;
    const std::uint64_t targetEsp = cpu.Register(UC_X86_REG_ESP);
    for (std::size_t i = 0; i < seen.size(); ++i) seen[i] = static_cast<std::uint32_t>(cpu.Read(targetEsp + 4 * i, 4));
  };
  cpu.OnTarget(onTarget);

  ASSERT_EQ(cpu.Run(kStub, kReturnAddress), UC_ERR_OK);

  EXPECT_EQ(targetCalls, 1);
  EXPECT_EQ(seen[0], kReturnAddress) << "the target returns straight to the caller";
  EXPECT_EQ(seen[1], kReference);
  for (std::size_t i = 0; i < kArgs.size(); ++i) EXPECT_EQ(seen[2 + i], kArgs[i]) << "argument " << i;
  EXPECT_EQ(cpu.Register(UC_X86_REG_EIP), kReturnAddress);
  EXPECT_EQ(cpu.Register(UC_X86_REG_EAX), kResult);
  EXPECT_EQ(cpu.Register(UC_X86_REG_ESP), kCallerEsp) << "the caller's four arguments are removed, nothing more";
  for (std::size_t i = 0; i < kPreserved.size(); ++i) EXPECT_EQ(cpu.Register(kPreserved[i]), 0x0BAD0000 + i);
}

TEST(WndProcStubX64, ReachesTheTargetWithTheReferenceFirstOnAnAlignedFrameOfItsOwn) {
  constexpr std::uint64_t kReference = 0x1122334455667788;
  constexpr std::array<std::uint64_t, 4> kArgs = {0x0000000100020003, 0x0000000000000233, 0xFFFFFFFFDEADBEEF,
                                                  0x8000000012345678};
  constexpr std::array<int, 4> kArgRegisters = {UC_X86_REG_RCX, UC_X86_REG_RDX, UC_X86_REG_R8, UC_X86_REG_R9};
  constexpr std::uint64_t kResult = 0x7766554433221100;
  constexpr std::uint64_t kCallerRsp = 0x20F000;  // 16-byte aligned before the call

  Emulator cpu(UC_MODE_64);
  cpu.Write(kStub, MakeWndProcStubX64(kTarget, kReference));
  // The target spills its four register arguments into its shadow space, as
  // compiled code may, then returns kResult.
  cpu.Write(kTarget, Concat(Concat({0x48, 0x89, 0x4C, 0x24, 0x08,  // mov [rsp+8], rcx
                                    0x48, 0x89, 0x54, 0x24, 0x10,  // mov [rsp+16], rdx
                                    0x4C, 0x89, 0x44, 0x24, 0x18,  // mov [rsp+24], r8
                                    0x4C, 0x89, 0x4C, 0x24, 0x20,  // mov [rsp+32], r9
                                    0x48, 0xB8},                   // mov rax, kResult
                                   Emulator::LittleEndian(kResult, 8)),
                            {0xC3}));

  // The caller's own data above the shadow space it gives the stub.
  for (std::uint64_t offset = 0x20; offset < 0x60; offset += 8) cpu.Write64(kCallerRsp + offset, 0x5E5E5E5E00 + offset);
  const std::uint64_t entryRsp = kCallerRsp - 8;
  cpu.Write64(entryRsp, kReturnAddress);
  cpu.SetRegister(UC_X86_REG_RSP, entryRsp);
  for (std::size_t i = 0; i < kArgs.size(); ++i) cpu.SetRegister(kArgRegisters[i], kArgs[i]);
  const std::array<int, 8> kPreserved = {UC_X86_REG_RBX, UC_X86_REG_RBP, UC_X86_REG_RSI, UC_X86_REG_RDI,
                                         UC_X86_REG_R12, UC_X86_REG_R13, UC_X86_REG_R14, UC_X86_REG_R15};
  for (std::size_t i = 0; i < kPreserved.size(); ++i) cpu.SetRegister(kPreserved[i], 0x0BAD000000 + i);

  int targetCalls = 0;
  std::uint64_t targetRsp = 0;
  std::array<std::uint64_t, 5> seen{};
  auto onTarget = [&] {
    ++targetCalls;
    targetRsp = cpu.Register(UC_X86_REG_RSP);
    for (std::size_t i = 0; i < kArgRegisters.size(); ++i) seen[i] = cpu.Register(kArgRegisters[i]);
    seen[4] = cpu.Read(targetRsp + 0x28, 8);  // the fifth argument, above return address and shadow space
  };
  cpu.OnTarget(onTarget);

  ASSERT_EQ(cpu.Run(kStub, kReturnAddress), UC_ERR_OK);

  EXPECT_EQ(targetCalls, 1);
  EXPECT_EQ(seen[0], kReference);
  for (std::size_t i = 0; i < kArgs.size(); ++i) EXPECT_EQ(seen[1 + i], kArgs[i]) << "argument " << i;
  EXPECT_EQ((targetRsp + 8) % 16, 0u) << "the stack is 16-byte aligned at the call";
  EXPECT_EQ(cpu.Register(UC_X86_REG_RIP), kReturnAddress);
  EXPECT_EQ(cpu.Register(UC_X86_REG_RAX), kResult);
  EXPECT_EQ(cpu.Register(UC_X86_REG_RSP), kCallerRsp);
  for (std::uint64_t offset = 0x20; offset < 0x60; offset += 8) {
    EXPECT_EQ(cpu.Read(kCallerRsp + offset, 8), 0x5E5E5E5E00 + offset) << "caller data at +" << offset;
  }
  for (std::size_t i = 0; i < kPreserved.size(); ++i) EXPECT_EQ(cpu.Register(kPreserved[i]), 0x0BAD000000 + i);

  // The unwind data must describe the frame the stub really has: its
  // allocation is the distance from the entry to the call, less the return
  // address the call pushed, and it is complete after the prolog.
  const ByteBuffer unwind = MakeWndProcStubX64UnwindInfo();
  ASSERT_EQ(unwind.size(), 8u);
  EXPECT_EQ(unwind[0], 1) << "version 1, no handler";
  EXPECT_EQ(unwind[2], 1) << "one unwind code";
  ASSERT_EQ(unwind[5] & 0x0F, 2) << "UWOP_ALLOC_SMALL";
  const std::uint64_t allocation = ((unwind[5] >> 4) + 1) * 8u;
  EXPECT_EQ(entryRsp - (targetRsp + 8), allocation);
  const std::uint8_t prologSize = unwind[1];
  EXPECT_EQ(unwind[4], prologSize) << "the allocation ends the prolog";

  Emulator prolog(UC_MODE_64);
  prolog.Write(kStub, MakeWndProcStubX64(kTarget, kReference));
  prolog.SetRegister(UC_X86_REG_RSP, entryRsp);
  ASSERT_EQ(prolog.Run(kStub, kStub + prologSize), UC_ERR_OK);
  EXPECT_EQ(prolog.Register(UC_X86_REG_RSP), entryRsp - allocation);
}

}  // namespace
}  // namespace korvane
