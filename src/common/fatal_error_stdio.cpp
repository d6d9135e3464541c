// Fatal errors of the portable builds (tests, benchmarks): a line on stderr.
#include <cstdio>
#include <cstdlib>

#include "common/fatal_error.hpp"

namespace korvane {

void FatalError(const char* message) noexcept {
  std::fputs(message, stderr);
  std::fputc('\n', stderr);
  std::_Exit(-1);
}

}  // namespace korvane
