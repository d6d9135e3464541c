#pragma once
// UniqueHandle: one owner for one handle, closed exactly once. The traits say
// how to close it and what its empty value is, because that differs between
// handle kinds: FindFirstFileA and CreateFileA fail with
// INVALID_HANDLE_VALUE, most other functions with null.
//
//   struct Traits {
//     using Handle = ...;
//     static Handle Empty() noexcept;
//     static void Close(Handle) noexcept;
//   };
#include <utility>

namespace korvane {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Empty(); }

  // Gives up ownership without closing.
  [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Traits::Empty()); }

  // Closes what is held (if anything) and takes handle.
  void reset(Handle handle = Traits::Empty()) noexcept {
    const Handle old = std::exchange(handle_, handle);
    if (old != Traits::Empty()) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Empty();
};

}  // namespace korvane
