#include "app/exit_callbacks.hpp"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

// Plain function pointers cannot carry state, so the callbacks write into one
// shared log.
std::string g_log;
ExitCallbackList* g_list = nullptr;

void A() { g_log += 'A'; }
void B() { g_log += 'B'; }
void C() { g_log += 'C'; }
void RegistersC() {
  g_log += 'r';
  g_list->Register(&C);
}
void RegistersItselfAndA() {
  g_log += 's';
  g_list->Register(&RegistersItselfAndA);
  g_list->Register(&A);
}

class ExitCallbackListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    g_list = &list_;
  }
  void TearDown() override { g_list = nullptr; }
  ExitCallbackList list_;
};

TEST_F(ExitCallbackListTest, RunsInRegistrationOrderAndRegisteringTwiceChangesNothing) {
  list_.Register(&B);
  list_.Register(&A);
  list_.Register(&B);  // already listed: keeps its first place
  list_.Register(&C);
  list_.Register(&A);
  EXPECT_EQ(list_.Count(), 3u);

  list_.RunAll();
  EXPECT_EQ(g_log, "BAC");
}

TEST_F(ExitCallbackListTest, RunsOnceThenIsEmpty) {
  list_.Register(&A);
  list_.RunAll();
  EXPECT_EQ(list_.Count(), 0u);
  EXPECT_FALSE(list_.Contains(&A));

  list_.RunAll();
  EXPECT_EQ(g_log, "A");

  // Emptied, so the same routine can be registered again and runs again.
  list_.Register(&A);
  list_.RunAll();
  EXPECT_EQ(g_log, "AA");
}

TEST_F(ExitCallbackListTest, ACallbackRegisteredWhileRunningRunsInItsTurn) {
  list_.Register(&RegistersC);
  list_.Register(&A);
  list_.RunAll();
  EXPECT_EQ(g_log, "rAC");
  EXPECT_EQ(list_.Count(), 0u);
}

TEST_F(ExitCallbackListTest, RegisteringAListedCallbackWhileRunningDoesNotRunItAgain) {
  list_.Register(&A);
  list_.Register(&RegistersItselfAndA);
  list_.RunAll();
  EXPECT_EQ(g_log, "As");
}

TEST_F(ExitCallbackListTest, ClearDropsCallbacksWithoutRunningThem) {
  list_.Register(&A);
  list_.Register(&B);
  list_.Clear();
  list_.RunAll();
  EXPECT_EQ(g_log, "");
}

TEST_F(ExitCallbackListTest, NullIsNeverListed) {
  list_.Register(nullptr);
  EXPECT_EQ(list_.Count(), 0u);
  list_.RunAll();
}

}  // namespace
}  // namespace korvane
