#include "app/exit_callbacks.hpp"

#include <algorithm>

#include "common/fatal_error.hpp"

namespace korvane {

void ExitCallbackList::Register(ExitCallback callback) {
  if (callback == nullptr || Contains(callback)) return;
  callbacks_.push_back(callback);
}

void ExitCallbackList::RunAll() {
  // By index, not by iterator: a callback may register another one, which
  // grows the vector while we walk it.
  for (std::size_t i = 0; i < callbacks_.size(); ++i) {
    const ExitCallback callback = callbacks_[i];
    callback();
  }
  callbacks_.clear();
}

bool ExitCallbackList::Contains(ExitCallback callback) const noexcept {
  return std::find(callbacks_.begin(), callbacks_.end(), callback) != callbacks_.end();
}

ExitCallbackList& TheExitCallbacks() noexcept {
  static ExitCallbackList list;
  return list;
}

void AbortApplication(const char* message) noexcept {
  TheExitCallbacks().Clear();
  FatalError(message);
}

}  // namespace korvane
