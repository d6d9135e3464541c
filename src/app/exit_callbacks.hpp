#pragma once
// The exit callback list: routines that the exit processing runs once, in the
// order in which they were registered. The program registers one,
// ReleaseGlobals.
#include <cstddef>
#include <vector>

namespace korvane {

using ExitCallback = void (*)();

class ExitCallbackList {
 public:
  // Adds callback at the end; a callback that is already listed stays where
  // it is and is not added again.
  void Register(ExitCallback callback);

  // Runs every listed callback once, in registration order, then empties the
  // list. A callback registered while the list runs is run in its turn too.
  void RunAll();

  // Drops every callback without running it.
  void Clear() noexcept { callbacks_.clear(); }

  bool Contains(ExitCallback callback) const noexcept;
  std::size_t Count() const noexcept { return callbacks_.size(); }

 private:
  std::vector<ExitCallback> callbacks_;
};

// The process's own list.
ExitCallbackList& TheExitCallbacks() noexcept;

// A fatal error: the exit callbacks are dropped, one message box is shown and
// the process ends with exit code -1.
[[noreturn]] void AbortApplication(const char* message) noexcept;

}  // namespace korvane
