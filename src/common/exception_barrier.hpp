#pragma once
// The one exception barrier of the program's window procedures. Nothing of
// the program throws on purpose; whatever reaches a window procedure left the
// program's state unknown, and no exception may unwind through the system's
// frames (user32, the drop hook's stub). It ends in the fatal path instead.
#include <utility>

#include "common/fatal_error.hpp"

namespace korvane {

// Runs body and hands back its result; an exception that leaves body is a
// fatal error.
template <typename Body>
decltype(auto) CallWithExceptionBarrier(Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    FatalInternalError();
  }
}

}  // namespace korvane
