#include <new>

#include "common/fatal_error.hpp"

namespace korvane {

void FatalInternalError() noexcept { FatalError("程序内部错误，将退出。"); }

void InstallOutOfMemoryHandler() noexcept {
  std::set_new_handler([] { FatalError("内存不足，程序将退出。"); });
}

}  // namespace korvane
