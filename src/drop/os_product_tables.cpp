#include "drop/os_product_tables.hpp"

#include <iterator>

namespace korvane {
namespace {

constexpr std::uint16_t kSuiteEnterprise = 0x0002;
constexpr std::uint16_t kSuiteDatacenter = 0x0080;
constexpr std::uint16_t kSuitePersonal = 0x0200;
constexpr std::uint16_t kSuiteStorageServer = 0x2000;
constexpr std::uint16_t kSuiteHomeServer = 0x8000;

using T = VersionRowTest;

// Windows 2000 servers: Datacenter when its suite bit is set, else Advanced
// Server when the enterprise bit is set, else Server.
constexpr VersionRow kVersionRows[] = {
    {10, 0, T::Workstation, 0, false, "Windows 10", ""},
    {10, 0, T::Always, 0, true, "", ""},
    {6, 0, T::Workstation, 0, false, "Windows Vista", ""},
    {6, 0, T::Always, 0, false, "Windows Server 2008", ""},
    {6, 1, T::Workstation, 0, false, "Windows 7", ""},
    {6, 1, T::Always, 0, false, "Windows Server 2008 R2", ""},
    {6, 2, T::Workstation, 0, false, "Windows 8", ""},
    {6, 2, T::Always, 0, false, "Windows Server 2012", ""},
    {6, 3, T::Workstation, 0, false, "Windows 8.1", ""},
    {6, 3, T::Always, 0, false, "Windows Server 2012 R2", ""},
    {5, 0, T::Workstation, 0, false, "Windows 2000", "Professional"},
    {5, 0, T::SuiteBit, kSuiteDatacenter, false, "Windows 2000", "Datacenter Server"},
    {5, 0, T::SuiteBit, kSuiteEnterprise, false, "Windows 2000", "Advanced Server"},
    {5, 0, T::Always, 0, false, "Windows 2000", "Server"},
    {5, 1, T::SuiteBit, kSuitePersonal, false, "Windows XP", "Home Edition"},
    {5, 1, T::Always, 0, false, "Windows XP", "Professional"},
    {5, 2, T::ServerR2Metric, 0, false, "Windows Server 2003 R2, ", ""},
    {5, 2, T::SuiteBit, kSuiteStorageServer, false, "Windows Storage Server 2003", ""},
    {5, 2, T::SuiteBit, kSuiteHomeServer, false, "Windows Home Server", ""},
    {5, 2, T::WorkstationOnAmd64, 0, false, "Windows XP Professional x64 Edition", ""},
    {5, 2, T::Always, 0, false, "Windows Server 2003, ", ""},
    {4, 10, T::Always, 0, false, "Windows 98", ""},
};

struct EditionRow {
  std::uint32_t ProductType;
  std::string_view Edition;
};

constexpr EditionRow kEditionRows[] = {
    {1, "Ultimate Edition"},
    {2, "Home Basic Edition"},
    {3, "Home Premium Edition"},
    {4, "Enterprise Edition"},
    {6, "Business Edition"},
    {7, "Standard"},
    {8, "Datacenter Edition"},
    {9, "Small Business Server"},
    {10, "Enterprise Edition"},
    {11, "Starter Edition"},
    {12, "Datacenter Edition (core installation)"},
    {13, "Standard Edition (core installation)"},
    {14, "Enterprise Edition (core installation)"},
    {15, "Enterprise Edition for Itanium-based Systems"},
    {16, "Business N"},
    {17, "Web Server (full installation)"},
    {18, "HPC Edition"},
    {19, "Windows Storage Server 2008 R2 Essentials"},
    {20, "Storage Server Express"},
    {21, "Storage Server Standard"},
    {22, "Storage Server Workgroup"},
    {23, "Storage Server Enterprise"},
    {25, "Small Business Server Premium Edition"},
    {0x30, "Professional"},
    {0x79, "Education"},
};

constexpr std::uint8_t kWorkstation = 1;
constexpr std::uint16_t kArchitectureAmd64 = 9;

bool RowApplies(const VersionRow& row, const OsVersionFacts& version, OsFactSource& source) {
  switch (row.Test) {
    case T::Always:
      return true;
    case T::Workstation:
      return version.ProductType == kWorkstation;
    case T::SuiteBit:
      return (version.SuiteMask & row.SuiteBit) != 0;
    case T::ServerR2Metric:
      return source.ServerR2Metric() != 0;
    case T::WorkstationOnAmd64:
      return version.ProductType == kWorkstation && version.ProcessorArchitecture == kArchitectureAmd64;
  }
  return false;
}

}  // namespace

VersionTable OsVersionTable() noexcept { return {kVersionRows, std::size(kVersionRows)}; }

BaseNameAndEdition ChooseBaseName(const OsVersionFacts& version, OsFactSource& source) {
  for (const VersionRow& row : kVersionRows) {
    if (row.Major != version.Major || row.Minor != version.Minor) continue;
    if (!RowApplies(row, version, source)) continue;
    BaseNameAndEdition chosen;
    chosen.BaseName = row.BaseNameFromRegistry ? source.RegistryText(OsRegistryValue::ProductName) : Text(row.BaseName);
    chosen.Edition = Text(row.Edition);
    return chosen;
  }
  return {};
}

std::optional<std::string_view> EditionForProductType(std::uint32_t productType) noexcept {
  for (const EditionRow& row : kEditionRows) {
    if (row.ProductType == productType) return row.Edition;
  }
  return std::nullopt;
}

}  // namespace korvane
