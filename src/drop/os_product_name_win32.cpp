#include "drop/os_product_name_win32.hpp"

#include <windows.h>

#include <cstring>

#include "common/declared_functions_win32.hpp"
#include "drop/os_facts.hpp"
#include "drop/os_registry_text_win32.hpp"

namespace korvane {
namespace {

// Not one of the functions the program declares: asked only inside WOW64,
// which exists only on systems that have it.
DeclaredFunction<decltype(::GetNativeSystemInfo)> GetNativeSystemInfoOnWow64{"kernel32.dll", "GetNativeSystemInfo"};

constexpr bool kIs64BitProcess = sizeof(void*) == 8;

// Asks Windows, each fact when the naming needs it.
class WindowsOsFactSource final : public OsFactSource {
 public:
  [[nodiscard]] bool ReadVersion(OsVersionFacts& facts) override {
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!declared::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
    SYSTEM_INFO system{};
    declared::GetSystemInfo(&system);
    BOOL wow64 = FALSE;
    if (!declared::IsWow64Process(GetCurrentProcess(), &wow64)) wow64 = FALSE;
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
    declared::RtlGetNtVersionNumbers(&major, &minor, &build);

    facts.ProductType = info.wProductType;
    facts.SuiteMask = info.wSuiteMask;
    facts.ServicePackText.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
    facts.ProcessorArchitecture = system.wProcessorArchitecture;
    // A 32-bit process sees the processor of WOW64 (x86) in GetSystemInfo;
    // the naming means the running Windows, so ask for the native one there.
    // Without this a 32-bit build would take Windows XP x64 for a server.
    if (wow64 && system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL) {
      SYSTEM_INFO native{};
      GetNativeSystemInfoOnWow64(&native);
      facts.ProcessorArchitecture = native.wProcessorArchitecture;
    }
    // A 64-bit process only runs on 64-bit Windows.
    facts.Is64BitWindows = kIs64BitProcess || wow64 != FALSE;
    facts.Major = major;
    facts.Minor = minor;
    facts.Build = static_cast<std::int16_t>(static_cast<std::uint16_t>(build & 0xFFFF));
    return true;
  }

  int ServerR2Metric() override { return declared::GetSystemMetrics(SM_SERVERR2); }

  std::uint32_t ProductInfoType(std::uint32_t major, std::uint32_t minor) override {
    ULONG type = 0;
    static_cast<void>(declared::RtlGetProductInfo(major, minor, 0, 0, &type));
    return type;
  }

  Text RegistryText(OsRegistryValue value) override {
    return ReadRegistryText(HKEY_LOCAL_MACHINE, RegistryValuePath(value));
  }
};

}  // namespace

Text GetOsProductName(std::int32_t* major, std::int32_t* minor, const OsNameOptions& options) {
  WindowsOsFactSource source;
  return ComposeOsProductName(source, options, major, minor);
}

}  // namespace korvane
