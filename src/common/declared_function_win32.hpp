#pragma once
// Windows functions that Korvane declares itself are bound by name on their
// first call: the DLL is loaded from the system folder (never from the
// program's folder or the current directory, so a planted DLL of the same
// name is never used), the name is looked up, and the address is kept for
// later calls. A DLL or name that cannot be found is a fatal error.
#include <windows.h>

#include <utility>

namespace korvane {

class DeclaredFunctionBinding {
 public:
  constexpr DeclaredFunctionBinding(const char* dll, const char* name) noexcept : dll_(dll), name_(name) {}
  const char* Dll() const noexcept { return dll_; }
  const char* Name() const noexcept { return name_; }

 protected:
  // The function's address; ends the process when it cannot be found.
  FARPROC Bind() const noexcept;

 private:
  const char* dll_;
  const char* name_;
};

// Fn is the function type, calling convention included, e.g.
// DeclaredFunction<decltype(::GetVersionExA)>.
template <typename Fn>
class DeclaredFunction : public DeclaredFunctionBinding {
 public:
  using DeclaredFunctionBinding::DeclaredFunctionBinding;

  template <typename... Args>
  decltype(auto) operator()(Args&&... args) const {
    return Address()(std::forward<Args>(args)...);
  }

  Fn* Address() const noexcept {
    if (address_ == nullptr) address_ = reinterpret_cast<Fn*>(reinterpret_cast<void*>(Bind()));
    return address_;
  }

  // Test seam: later calls go to replacement (nullptr: bind afresh by name).
  void Override(Fn* replacement) noexcept { address_ = replacement; }

 private:
  mutable Fn* address_ = nullptr;
};

}  // namespace korvane
