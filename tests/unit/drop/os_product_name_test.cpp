// The composition of the system's product name from the facts Windows
// reports: both tables row by row, the options, and which facts are asked
// for when.
#include "drop/os_product_name.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "drop/os_product_tables.hpp"

namespace korvane {
namespace {

constexpr std::uint8_t kWorkstation = 1;
constexpr std::uint8_t kServer = 3;
constexpr std::uint32_t kProfessional = 0x30;

OsFacts Facts(std::uint32_t major, std::uint32_t minor, std::uint8_t productType,
              std::uint32_t productInfo = kProfessional) {
  OsFacts facts;
  facts.Version.Major = major;
  facts.Version.Minor = minor;
  facts.Version.ProductType = productType;
  facts.ProductInfoType = productInfo;
  return facts;
}

const OsNameOptions kNoOptions{};
const OsNameOptions kEdition{true, false, false, false};

// --- The version table, every row ---------------------------------------

struct VersionCase {
  const char* label;
  OsFacts facts;
  std::string plain;        // every option off
  std::string withEdition;  // only WithEdition
};

OsFacts With(OsFacts facts, std::uint16_t suite, std::uint16_t architecture = 0, int serverR2 = 0) {
  facts.Version.SuiteMask = suite;
  facts.Version.ProcessorArchitecture = architecture;
  facts.ServerR2Metric = serverR2;
  return facts;
}

OsFacts WithProductName(OsFacts facts, std::string productName) {
  facts.ProductName = std::move(productName);
  return facts;
}

std::vector<VersionCase> VersionCases() {
  return {
      {"10.0 workstation", Facts(10, 0, kWorkstation), "Windows 10", "Windows 10 Professional"},
      {"10.0 workstation, registry not used", WithProductName(Facts(10, 0, kWorkstation), "Windows 11 Pro"),
       "Windows 10", "Windows 10 Professional"},
      {"10.0 server from the registry", WithProductName(Facts(10, 0, kServer, 8), "Windows Server 2019 Datacenter"),
       "Windows Server 2019 Datacenter", "Windows Server 2019 Datacenter Datacenter Edition"},
      {"10.0 domain controller from the registry, taken unchanged",
       WithProductName(Facts(10, 0, 2, 7), " 服务器  2022 "), " 服务器  2022 ", " 服务器  2022  Standard"},
      {"10.0 server without registry name", Facts(10, 0, kServer, 7), "", " Standard"},
      {"6.0 workstation", Facts(6, 0, kWorkstation, 3), "Windows Vista", "Windows Vista Home Premium Edition"},
      {"6.0 server", Facts(6, 0, kServer, 8), "Windows Server 2008", "Windows Server 2008 Datacenter Edition"},
      {"6.1 workstation", Facts(6, 1, kWorkstation, 1), "Windows 7", "Windows 7 Ultimate Edition"},
      {"6.1 server", Facts(6, 1, kServer, 7), "Windows Server 2008 R2", "Windows Server 2008 R2 Standard"},
      {"6.2 workstation", Facts(6, 2, kWorkstation), "Windows 8", "Windows 8 Professional"},
      {"6.2 server", Facts(6, 2, kServer, 7), "Windows Server 2012", "Windows Server 2012 Standard"},
      {"6.3 workstation", Facts(6, 3, kWorkstation), "Windows 8.1", "Windows 8.1 Professional"},
      {"6.3 server", Facts(6, 3, kServer, 8), "Windows Server 2012 R2", "Windows Server 2012 R2 Datacenter Edition"},
      {"5.0 workstation", Facts(5, 0, kWorkstation), "Windows 2000", "Windows 2000 Professional"},
      {"5.0 workstation with datacenter bit", With(Facts(5, 0, kWorkstation), 0x80), "Windows 2000",
       "Windows 2000 Professional"},
      {"5.0 datacenter server", With(Facts(5, 0, kServer), 0x80), "Windows 2000", "Windows 2000 Datacenter Server"},
      {"5.0 datacenter wins over enterprise", With(Facts(5, 0, kServer), 0x82), "Windows 2000",
       "Windows 2000 Datacenter Server"},
      {"5.0 enterprise server", With(Facts(5, 0, kServer), 0x02), "Windows 2000", "Windows 2000 Advanced Server"},
      {"5.0 plain server", With(Facts(5, 0, kServer), 0x10), "Windows 2000", "Windows 2000 Server"},
      {"5.1 home", With(Facts(5, 1, kWorkstation), 0x200), "Windows XP", "Windows XP Home Edition"},
      {"5.1 professional", With(Facts(5, 1, kWorkstation), 0x100), "Windows XP", "Windows XP Professional"},
      {"5.2 R2 metric", With(Facts(5, 2, kServer), 0, 0, 1), "Windows Server 2003 R2, ", "Windows Server 2003 R2,  "},
      {"5.2 R2 metric wins over storage server", With(Facts(5, 2, kServer), 0x2000, 0, 1), "Windows Server 2003 R2, ",
       "Windows Server 2003 R2,  "},
      {"5.2 storage server", With(Facts(5, 2, kServer), 0x2000), "Windows Storage Server 2003",
       "Windows Storage Server 2003 "},
      {"5.2 home server", With(Facts(5, 2, kServer), 0x8000), "Windows Home Server", "Windows Home Server "},
      {"5.2 storage wins over home server", With(Facts(5, 2, kServer), 0xA000), "Windows Storage Server 2003",
       "Windows Storage Server 2003 "},
      {"5.2 workstation on AMD64", With(Facts(5, 2, kWorkstation), 0, 9), "Windows XP Professional x64 Edition",
       "Windows XP Professional x64 Edition "},
      {"5.2 workstation on x86", With(Facts(5, 2, kWorkstation), 0, 0), "Windows Server 2003, ",
       "Windows Server 2003,  "},
      {"5.2 server on AMD64", With(Facts(5, 2, kServer), 0, 9), "Windows Server 2003, ", "Windows Server 2003,  "},
      {"4.10", Facts(4, 10, kWorkstation), "Windows 98", "Windows 98 "},
      {"4.0 is unnamed", Facts(4, 0, kWorkstation), "", " "},
      {"5.3 is unnamed below 6", Facts(5, 3, kWorkstation), "", " "},
      {"6.4 with a listed type stays empty", Facts(6, 4, kWorkstation), "", " Professional"},
      {"10.1 with a listed type stays empty", Facts(10, 1, kServer, 7), "", " Standard"},
      {"6.4 with an unlisted type is replaced", Facts(6, 4, kWorkstation, 0), "获取失败，请检查版本:6.4",
       "获取失败，请检查版本:6.4 "},
  };
}

TEST(OsProductName, NamesEveryRowOfTheVersionTable) {
  for (const VersionCase& c : VersionCases()) {
    EXPECT_EQ(ComposeOsProductName(c.facts, kNoOptions), c.plain) << c.label;
    EXPECT_EQ(ComposeOsProductName(c.facts, kEdition), c.withEdition) << c.label << ", with edition";
  }
}

TEST(OsProductName, EveryVersionTableRowIsReachedByTheCases) {
  // Guards the case list above against a row added to the table and forgotten.
  const VersionTable table = OsVersionTable();
  for (std::size_t i = 0; i < table.Count; ++i) {
    const VersionRow& row = table.Rows[i];
    bool covered = false;
    for (const VersionCase& c : VersionCases()) {
      if (c.facts.Version.Major != row.Major || c.facts.Version.Minor != row.Minor) continue;
      std::string expected = row.BaseNameFromRegistry ? c.facts.ProductName : std::string(row.BaseName);
      if (c.facts.Version.Major < 6 && c.withEdition == expected + " " + std::string(row.Edition) &&
          c.plain == expected) {
        covered = true;
      }
      if (c.facts.Version.Major >= 6 && c.plain == expected && !expected.empty()) covered = true;
    }
    EXPECT_TRUE(covered) << "row " << i << ": " << row.BaseName;
  }
}

// --- The edition table, every row ----------------------------------------

struct EditionCase {
  std::uint32_t productType;
  const char* edition;
};

const EditionCase kEditionCases[] = {
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
    {48, "Professional"},
    {121, "Education"},
};

TEST(OsProductName, TakesTheEditionOfEveryListedProductType) {
  for (const EditionCase& c : kEditionCases) {
    const OsFacts facts = Facts(6, 1, kWorkstation, c.productType);
    EXPECT_EQ(ComposeOsProductName(facts, kNoOptions), "Windows 7") << c.productType;
    EXPECT_EQ(ComposeOsProductName(facts, kEdition), std::string("Windows 7 ") + c.edition) << c.productType;
  }
}

TEST(OsProductName, ReplacesTheNameForAnUnlistedProductType) {
  struct Case {
    std::uint32_t major, minor;
    std::uint8_t productType;
    std::uint32_t productInfo;
    const char* expected;
  };
  const Case cases[] = {
      {10, 0, kWorkstation, 0, "获取失败，请检查版本:10.0"},
      {10, 0, kServer, 5, "获取失败，请检查版本:10.0"},
      {6, 1, kWorkstation, 24, "获取失败，请检查版本:6.1"},
      {6, 3, kServer, 26, "获取失败，请检查版本:6.3"},
      {6, 0, kWorkstation, 101, "获取失败，请检查版本:6.0"},
      {10, 0, kWorkstation, 0xFFFFFFFF, "获取失败，请检查版本:10.0"},
      {11, 2, kWorkstation, 0, "获取失败，请检查版本:11.2"},
  };
  for (const Case& c : cases) {
    OsFacts facts = WithProductName(Facts(c.major, c.minor, c.productType, c.productInfo), "Windows Server 2022");
    EXPECT_EQ(ComposeOsProductName(facts, kNoOptions), c.expected) << c.productInfo;
    // The replacement has no edition: WithEdition adds only the blank.
    EXPECT_EQ(ComposeOsProductName(facts, kEdition), std::string(c.expected) + " ") << c.productInfo;
  }
}

TEST(OsProductName, TheReplacementIsInCodePage936) {
  const std::string name = ComposeOsProductName(Facts(10, 0, kWorkstation, 0), kNoOptions);
  const std::string gbk = "\xBB\xF1\xC8\xA1\xCA\xA7\xB0\xDC\xA3\xAC\xC7\xEB\xBC\xEC\xB2\xE9\xB0\xE6\xB1\xBE:10.0";
  EXPECT_EQ(name, gbk);
}

// --- The options ---------------------------------------------------------

OsFacts XpWithDetails() {
  OsFacts facts = Facts(5, 1, kWorkstation);
  facts.Version.ServicePackText = "Service Pack 3";
  facts.Version.Build = 2600;
  facts.CSDVersion = "Service Pack 2 from the registry";
  facts.CurrentBuild = "9999";
  return facts;
}

TEST(OsProductName, AddsWhatTheOptionsAsk) {
  struct Case {
    const char* label;
    OsFacts facts;
    OsNameOptions options;  // edition, architecture, service pack, build
    const char* expected;
  };
  OsFacts on64 = XpWithDetails();
  on64.Version.Is64BitWindows = true;
  OsFacts noSpText = XpWithDetails();
  noSpText.Version.ServicePackText.clear();
  OsFacts shortSp = XpWithDetails();
  shortSp.Version.ServicePackText = "SP";
  OsFacts threeByteSp = XpWithDetails();
  threeByteSp.Version.ServicePackText = "SP3";
  OsFacts shortRegistrySp = noSpText;
  shortRegistrySp.CSDVersion = "S1";
  OsFacts noSpAnywhere = noSpText;
  noSpAnywhere.CSDVersion.clear();
  OsFacts buildZero = XpWithDetails();
  buildZero.Version.Build = 0;
  OsFacts buildZeroNoRegistry = buildZero;
  buildZeroNoRegistry.CurrentBuild.clear();
  OsFacts negativeBuild = XpWithDetails();
  negativeBuild.Version.Build = -7616;  // 0xE240: the low 16 bits read as signed

  const Case cases[] = {
      {"none", XpWithDetails(), {false, false, false, false}, "Windows XP"},
      {"architecture on 32-bit Windows", XpWithDetails(), {false, true, false, false}, "Windows XP x86"},
      {"architecture on 64-bit Windows", on64, {false, true, false, false}, "Windows XP x64"},
      {"service pack", XpWithDetails(), {false, false, true, false}, "Windows XP (Service Pack 3)"},
      {"build", XpWithDetails(), {false, false, false, true}, "Windows XP (Build:2600)"},
      {"service pack and build", XpWithDetails(), {false, false, true, true}, "Windows XP (Service Pack 3,Build:2600)"},
      {"edition and architecture", XpWithDetails(), {true, true, false, false}, "Windows XP Professional x86"},
      {"all four", on64, {true, true, true, true}, "Windows XP Professional x64 (Service Pack 3,Build:2600)"},
      {"service pack from the registry",
       noSpText,
       {false, false, true, false},
       "Windows XP (Service Pack 2 from the registry)"},
      {"two-byte service pack dropped", shortSp, {false, false, true, false}, "Windows XP"},
      {"two-byte service pack dropped, build kept", shortSp, {false, false, true, true}, "Windows XP (Build:2600)"},
      {"three-byte service pack kept", threeByteSp, {false, false, true, false}, "Windows XP (SP3)"},
      {"two-byte registry service pack dropped", shortRegistrySp, {false, false, true, false}, "Windows XP"},
      {"no service pack anywhere", noSpAnywhere, {false, false, true, false}, "Windows XP"},
      {"build 0 from the registry", buildZero, {false, false, false, true}, "Windows XP (Build:9999)"},
      {"build 0 without registry text", buildZeroNoRegistry, {false, false, false, true}, "Windows XP (Build:)"},
      {"build 0 with service pack", buildZero, {false, false, true, true}, "Windows XP (Service Pack 3,Build:9999)"},
      {"negative build", negativeBuild, {false, false, false, true}, "Windows XP (Build:-7616)"},
      {"edition, empty name", Facts(5, 3, kWorkstation), {true, true, false, false}, "  x86"},
  };
  for (const Case& c : cases) EXPECT_EQ(ComposeOsProductName(c.facts, c.options), c.expected) << c.label;
}

TEST(OsProductName, DoesNotRepeatAnEditionTheNameAlreadyHolds) {
  struct Case {
    const char* label;
    std::string productName;
    std::uint32_t productInfo;
    std::string expected;
  };
  const Case cases[] = {
      {"edition word in the name", "Windows Server 2016 Standard", 7, "Windows Server 2016 Standard "},
      {"edition word at the start", "Standard Server", 7, "Standard Server "},
      {"case differs", "Windows Server 2016 STANDARD", 7, "Windows Server 2016 STANDARD Standard"},
      {"after double-byte text", "服务器Standard", 7, "服务器Standard "},
      // 0xB0 0x53 is one character; the "S" that follows 0xB0 is its second
      // byte, so "Standard" does not occur there.
      {"inside a double-byte character", "Server \xB0Standard", 7, "Server \xB0Standard Standard"},
      {"found again after the straddling one", "\xB0Standard Standard", 7, "\xB0Standard Standard "},
  };
  for (const Case& c : cases) {
    const OsFacts facts = WithProductName(Facts(10, 0, kServer, c.productInfo), c.productName);
    EXPECT_EQ(ComposeOsProductName(facts, kEdition), c.expected) << c.label;
  }
}

TEST(OccursAtCharacterBoundary, MatchesOnlyWhereACharacterBegins) {
  struct Case {
    std::string text, part;
    bool occurs;
  };
  const Case cases[] = {
      {"Windows Server Standard", "Standard", true},
      {"Windows Server Standar", "Standard", false},
      {"", "Standard", false},
      {"abc", "", true},
      {"xAB", "AB", true},
      {"\xB0"
       "AB",
       "AB", false},  // A is the second byte of 0xB0 0x41
      {"\xB0"
       "AAB",
       "AB", true},                              // 0xB0 0x41, then "AB"
      {"X\xD6\xD0\xCE\xC4", "\xD0\xCE", false},  // 中文: D0 is a second byte
      {"X\xD6\xD0\xCE\xC4", "\xCE\xC4", true},
      {"\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4", true},
      {"a\xD6", "\xD6", true},  // a lead byte at the very end
  };
  for (const Case& c : cases)
    EXPECT_EQ(OccursAtCharacterBoundary(c.text, c.part), c.occurs) << c.text << " / " << c.part;
}

// --- Which facts are asked for, and when ---------------------------------

class RecordingSource final : public OsFactSource {
 public:
  explicit RecordingSource(OsFacts facts) : facts_(std::move(facts)), plain_(facts_) {}
  [[nodiscard]] bool ReadVersion(OsVersionFacts& facts) override {
    calls.push_back("version");
    return plain_.ReadVersion(facts);
  }
  int ServerR2Metric() override {
    calls.push_back("serverR2");
    return plain_.ServerR2Metric();
  }
  std::uint32_t ProductInfoType(std::uint32_t major, std::uint32_t minor) override {
    calls.push_back("productInfo " + std::to_string(major) + "." + std::to_string(minor));
    return plain_.ProductInfoType(major, minor);
  }
  Text RegistryText(OsRegistryValue value) override {
    calls.push_back(std::string("registry ") + std::string(RegistryValuePath(value)));
    return plain_.RegistryText(value);
  }
  std::vector<std::string> calls;

 private:
  OsFacts facts_;
  PlainOsFactSource plain_;
};

const std::string kRegistryKey = "registry SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";

TEST(OsProductName, AsksForEachFactOnlyWhereItIsNeeded) {
  struct Case {
    const char* label;
    OsFacts facts;
    OsNameOptions options;
    std::vector<std::string> calls;
  };
  OsFacts buildZero = Facts(6, 1, kWorkstation);
  const Case cases[] = {
      {"XP asks no product info", Facts(5, 1, kWorkstation), kNoOptions, {"version"}},
      {"5.2 asks the R2 metric", Facts(5, 2, kServer), kNoOptions, {"version", "serverR2"}},
      {"4.10 asks nothing more", Facts(4, 10, kWorkstation), kNoOptions, {"version"}},
      {"7 asks the product info", Facts(6, 1, kWorkstation), kNoOptions, {"version", "productInfo 6.1"}},
      {"10 workstation", Facts(10, 0, kWorkstation), kNoOptions, {"version", "productInfo 10.0"}},
      {"10 server asks the registry name first",
       Facts(10, 0, kServer),
       kNoOptions,
       {"version", kRegistryKey + "ProductName", "productInfo 10.0"}},
      {"service pack and build from the registry",
       buildZero,
       {false, false, true, true},
       {"version", "productInfo 6.1", kRegistryKey + "CSDVersion", kRegistryKey + "CurrentBuild"}},
  };
  for (const Case& c : cases) {
    RecordingSource source(c.facts);
    static_cast<void>(ComposeOsProductName(source, c.options));
    EXPECT_EQ(source.calls, c.calls) << c.label;
  }
}

TEST(OsProductName, WritesTheVersionOnlyWhenItCanBeRead) {
  OsFacts facts = Facts(6, 3, kWorkstation);
  std::int32_t major = -1;
  std::int32_t minor = -1;
  EXPECT_EQ(ComposeOsProductName(facts, kNoOptions, &major, &minor), "Windows 8.1");
  EXPECT_EQ(major, 6);
  EXPECT_EQ(minor, 3);

  facts.VersionReadable = false;
  RecordingSource source(facts);
  major = -1;
  minor = -1;
  EXPECT_EQ(ComposeOsProductName(source, OsNameOptions{true, true, true, true}, &major, &minor), "");
  EXPECT_EQ(major, -1);
  EXPECT_EQ(minor, -1);
  EXPECT_EQ(source.calls, std::vector<std::string>{"version"});
}

}  // namespace
}  // namespace korvane
