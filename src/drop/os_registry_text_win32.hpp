#pragma once
// Reads one registry value as text.
#include <windows.h>

#include <string_view>

#include "common/text.hpp"

namespace korvane {

// valuePath is the key path, a backslash and the value name. A REG_SZ value
// comes back unchanged, a REG_EXPAND_SZ value with its environment
// references expanded; a missing key or value, or a value of another type,
// gives the empty Text.
Text ReadRegistryText(HKEY root, std::string_view valuePath);

}  // namespace korvane
