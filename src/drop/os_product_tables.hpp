#pragma once
// The two tables the product name is made from: the base name (and for
// Windows 2000 and XP the edition) by version, and the edition by the product
// type that RtlGetProductInfo returns.
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/text.hpp"
#include "drop/os_facts.hpp"

namespace korvane {

// What a row of the version table asks of the facts.
enum class VersionRowTest {
  Always,
  Workstation,         // product type 1
  SuiteBit,            // the row's suite bit is set
  ServerR2Metric,      // GetSystemMetrics(SM_SERVERR2) is not 0
  WorkstationOnAmd64,  // product type 1 and processor architecture 9
};

struct VersionRow {
  std::uint32_t Major;
  std::uint32_t Minor;
  VersionRowTest Test;
  std::uint16_t SuiteBit;     // for VersionRowTest::SuiteBit
  bool BaseNameFromRegistry;  // the registry ProductName instead of BaseName
  std::string_view BaseName;
  std::string_view Edition;
};

// The rows in the order they are tried; the first one whose version matches
// and whose test passes wins.
struct VersionTable {
  const VersionRow* Rows;
  std::size_t Count;
};
VersionTable OsVersionTable() noexcept;

// The base name and edition of the first matching row; both empty when no row
// matches. Asks the source for the SM_SERVERR2 metric and the registry
// ProductName only when a row needs them.
struct BaseNameAndEdition {
  Text BaseName;
  Text Edition;
};
BaseNameAndEdition ChooseBaseName(const OsVersionFacts& version, OsFactSource& source);

// The edition for a product type of RtlGetProductInfo; nothing for a type the
// table does not list.
std::optional<std::string_view> EditionForProductType(std::uint32_t productType) noexcept;

}  // namespace korvane
