#pragma once
// The facts about the running Windows system from which its product name is
// composed, and the source that reads them.
#include <cstdint>
#include <string_view>

#include "common/text.hpp"

namespace korvane {

// The registry text values the naming may read, all under HKEY_LOCAL_MACHINE.
enum class OsRegistryValue { ProductName, CSDVersion, CurrentBuild };

// The value's full name: the key path, a backslash and the value name.
std::string_view RegistryValuePath(OsRegistryValue value) noexcept;

// What Windows reports at the start of every naming: GetVersionExA (product
// type, suite mask, service-pack text), GetSystemInfo (processor
// architecture), IsWow64Process and RtlGetNtVersionNumbers (the version).
struct OsVersionFacts {
  std::uint8_t ProductType = 0;  // 1: workstation
  std::uint16_t SuiteMask = 0;
  Text ServicePackText;
  std::uint16_t ProcessorArchitecture = 0;  // 9: AMD64
  bool Is64BitWindows = false;              // the running Windows, not the process
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
  std::int16_t Build = 0;  // low 16 bits of the third number, signed
};

// Reads the facts. The naming asks for each of them only where it needs it,
// in this order, so a source that reads them from Windows makes exactly the
// calls the naming needs: ReadVersion first and always; ServerR2Metric only on
// 5.2; ProductInfoType only from major version 6 on; a registry text only
// where the naming falls back to it.
class OsFactSource {
 public:
  virtual ~OsFactSource() = default;
  // False when the version cannot be read (nothing else is asked then).
  [[nodiscard]] virtual bool ReadVersion(OsVersionFacts& facts) = 0;
  // GetSystemMetrics(SM_SERVERR2).
  virtual int ServerR2Metric() = 0;
  // The product type RtlGetProductInfo returns for this version.
  virtual std::uint32_t ProductInfoType(std::uint32_t major, std::uint32_t minor) = 0;
  // The registry value as text; empty when it cannot be read.
  virtual Text RegistryText(OsRegistryValue value) = 0;
};

// Every fact in one plain struct, for callers that have them all at hand.
struct OsFacts {
  bool VersionReadable = true;
  OsVersionFacts Version;
  int ServerR2Metric = 0;
  std::uint32_t ProductInfoType = 0;
  Text ProductName;   // registry ProductName
  Text CSDVersion;    // registry CSDVersion
  Text CurrentBuild;  // registry CurrentBuild
};

// An OsFactSource that answers from a plain struct.
class PlainOsFactSource final : public OsFactSource {
 public:
  explicit PlainOsFactSource(const OsFacts& facts) noexcept : facts_(facts) {}
  [[nodiscard]] bool ReadVersion(OsVersionFacts& facts) override;
  int ServerR2Metric() override { return facts_.ServerR2Metric; }
  std::uint32_t ProductInfoType(std::uint32_t, std::uint32_t) override { return facts_.ProductInfoType; }
  Text RegistryText(OsRegistryValue value) override;

 private:
  const OsFacts& facts_;
};

}  // namespace korvane
