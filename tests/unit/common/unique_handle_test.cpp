#include "common/unique_handle.hpp"

#include <gtest/gtest.h>

namespace korvane {
namespace {

// A handle kind whose empty value is -1, like INVALID_HANDLE_VALUE.
struct CountingTraits {
  using Handle = int;
  static inline int closes = 0;
  static inline int lastClosed = 0;
  static Handle Empty() noexcept { return -1; }
  static void Close(Handle h) noexcept {
    ++closes;
    lastClosed = h;
  }
};
using Counted = UniqueHandle<CountingTraits>;

TEST(UniqueHandle, ClosesOnceNeverTheEmptyValueAndMovesOwnership) {
  CountingTraits::closes = 0;
  {
    Counted empty;
    EXPECT_FALSE(empty);
    Counted zero(0);  // 0 is a valid handle for this kind
    EXPECT_TRUE(zero);
  }
  EXPECT_EQ(CountingTraits::closes, 1);
  EXPECT_EQ(CountingTraits::lastClosed, 0);

  CountingTraits::closes = 0;
  {
    Counted a(7);
    Counted b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), 7);
    Counted c(9);
    c = std::move(b);  // closes 9, takes 7
    EXPECT_EQ(CountingTraits::closes, 1);
    EXPECT_EQ(CountingTraits::lastClosed, 9);
    c.reset(11);
    EXPECT_EQ(CountingTraits::lastClosed, 7);
    EXPECT_EQ(c.release(), 11);
  }
  EXPECT_EQ(CountingTraits::closes, 2);  // 9 and 7; 11 was released
}

}  // namespace
}  // namespace korvane
