#pragma once
// The floor for the scan: the platform's own search over every folder, two
// passes each like the scan, counting entries and storing nothing.
#include <cstddef>

#include "common/text.hpp"

namespace korvane::bench {

// Entries beneath folder ("." and ".." not counted).
std::size_t BareWalk(const Text& folder);

}  // namespace korvane::bench
