#pragma once
// Composes a readable name of the running Windows system ("Windows 7",
// "Windows Server 2003 R2, ", ...) from the facts Windows reports, with four
// optional additions: the edition, the architecture, the service pack and
// the build number.
#include <cstdint>
#include <string_view>

#include "common/text.hpp"
#include "drop/os_facts.hpp"

namespace korvane {

struct OsNameOptions {
  bool WithEdition = false;
  bool WithArchitecture = false;
  bool WithServicePack = false;
  bool WithBuild = false;
};

// The name, asking source for each fact where it is needed. When the version
// cannot be read the name is empty and major and minor are not written;
// otherwise they receive the version numbers (either may be null).
Text ComposeOsProductName(OsFactSource& source, const OsNameOptions& options, std::int32_t* major = nullptr,
                          std::int32_t* minor = nullptr);

// The same over facts that are all at hand.
Text ComposeOsProductName(const OsFacts& facts, const OsNameOptions& options, std::int32_t* major = nullptr,
                          std::int32_t* minor = nullptr);

// True when part occurs in text starting at a character boundary of text: in
// code page 936 a byte of 0x80 or above starts a two-byte character, and a
// match may not start at that character's second byte. Byte-wise and
// case-sensitive. The empty part occurs everywhere.
bool OccursAtCharacterBoundary(std::string_view text, std::string_view part) noexcept;

}  // namespace korvane
