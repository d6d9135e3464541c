#include "drop/os_product_name.hpp"

#include <string>

#include "drop/os_product_tables.hpp"

namespace korvane {
namespace {

// Replaces the name when RtlGetProductInfo gives a type the edition table
// does not know.
constexpr std::string_view kUnknownProductPrefix = "获取失败，请检查版本:";

Text Decimal(std::int64_t value) { return std::to_string(value); }

}  // namespace

bool OccursAtCharacterBoundary(std::string_view text, std::string_view part) noexcept {
  if (part.empty()) return true;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text.compare(at, part.size(), part) == 0) return true;
    // Step over a whole character: one byte, or two after a lead byte.
    at += IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
  }
  return false;
}

Text ComposeOsProductName(OsFactSource& source, const OsNameOptions& options, std::int32_t* major,
                          std::int32_t* minor) {
  OsVersionFacts version;
  if (!source.ReadVersion(version)) return {};
  if (major != nullptr) *major = static_cast<std::int32_t>(version.Major);
  if (minor != nullptr) *minor = static_cast<std::int32_t>(version.Minor);

  BaseNameAndEdition chosen = ChooseBaseName(version, source);

  if (version.Major >= 6) {
    const std::uint32_t productType = source.ProductInfoType(version.Major, version.Minor);
    if (const auto edition = EditionForProductType(productType)) {
      chosen.Edition = Text(*edition);
    } else {
      chosen.Edition.clear();
      chosen.BaseName = Text(kUnknownProductPrefix) + Decimal(static_cast<std::int32_t>(version.Major)) + "." +
                        Decimal(static_cast<std::int32_t>(version.Minor));
    }
  }

  Text name = std::move(chosen.BaseName);
  if (options.WithEdition) {
    const bool editionShown = !chosen.Edition.empty() && !OccursAtCharacterBoundary(name, chosen.Edition);
    name += ' ';
    if (editionShown) name += chosen.Edition;
  }
  if (options.WithArchitecture) name += version.Is64BitWindows ? " x64" : " x86";

  Text detail;
  if (options.WithServicePack) {
    detail = version.ServicePackText;
    if (detail.empty()) detail = source.RegistryText(OsRegistryValue::CSDVersion);
    if (detail.size() <= 2) detail.clear();
  }
  if (options.WithBuild) {
    const Text build = version.Build != 0 ? Decimal(version.Build) : source.RegistryText(OsRegistryValue::CurrentBuild);
    detail = detail.empty() ? "Build:" + build : detail + ",Build:" + build;
  }
  if (!detail.empty()) name += " (" + detail + ")";
  return name;
}

Text ComposeOsProductName(const OsFacts& facts, const OsNameOptions& options, std::int32_t* major,
                          std::int32_t* minor) {
  PlainOsFactSource source(facts);
  return ComposeOsProductName(source, options, major, minor);
}

}  // namespace korvane
