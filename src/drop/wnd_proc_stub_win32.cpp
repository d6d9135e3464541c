#include "drop/wnd_proc_stub_win32.hpp"

#include <cstring>

#include "common/declared_functions_win32.hpp"
#include "drop/wnd_proc_stub.hpp"

namespace korvane {
namespace {

constexpr SIZE_T kBlockSize = 4096;

#ifdef _WIN64
// Behind the code in the same block: its unwind data and the function entry
// that points at it, so that stack walks (exception dispatch, debuggers)
// get through the stub's frame.
constexpr std::size_t kUnwindInfoOffset = 64;
constexpr std::size_t kFunctionEntryOffset = 80;

void WriteStub(std::uint8_t* block, std::uintptr_t target, std::uintptr_t reference) {
  const ByteBuffer code = MakeWndProcStubX64(target, reference);
  std::memcpy(block, code.data(), code.size());
  const ByteBuffer unwind = MakeWndProcStubX64UnwindInfo();
  std::memcpy(block + kUnwindInfoOffset, unwind.data(), unwind.size());
  auto* entry = reinterpret_cast<RUNTIME_FUNCTION*>(block + kFunctionEntryOffset);
  entry->BeginAddress = 0;
  entry->EndAddress = static_cast<DWORD>(code.size());
  entry->UnwindData = static_cast<DWORD>(kUnwindInfoOffset);
  // Without the entry only stack walks suffer, never the stub itself.
  static_cast<void>(RtlAddFunctionTable(entry, 1, reinterpret_cast<DWORD64>(block)));
}
#else
void WriteStub(std::uint8_t* block, std::uintptr_t target, std::uintptr_t reference) {
  const ByteBuffer code = MakeWndProcStubX86(static_cast<std::uint32_t>(target), static_cast<std::uint32_t>(reference));
  std::memcpy(block, code.data(), code.size());
}
#endif

}  // namespace

WNDPROC WriteWndProcStub(std::uintptr_t target, std::uintptr_t reference) {
  auto* block =
      static_cast<std::uint8_t*>(declared::VirtualAlloc(nullptr, kBlockSize, MEM_COMMIT, PAGE_EXECUTE_READWRITE));
  if (block == nullptr) return nullptr;
  WriteStub(block, target, reference);
  FlushInstructionCache(GetCurrentProcess(), block, kBlockSize);
  // Hardening: the written block need not stay writable. If the switch
  // fails, the stub works as it is.
  DWORD previousProtection = 0;
  static_cast<void>(VirtualProtect(block, kBlockSize, PAGE_EXECUTE_READ, &previousProtection));
  return reinterpret_cast<WNDPROC>(block);
}

}  // namespace korvane
