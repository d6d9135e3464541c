#pragma once
// The running Windows system's product name, from what Windows reports.
#include <cstdint>

#include "common/text.hpp"
#include "drop/os_product_name.hpp"

namespace korvane {

// GetVersionExA failing gives the empty Text and leaves major and minor as
// they were; otherwise they receive the version (either may be null).
Text GetOsProductName(std::int32_t* major = nullptr, std::int32_t* minor = nullptr, const OsNameOptions& options = {});

}  // namespace korvane
