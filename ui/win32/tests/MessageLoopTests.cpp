// The pump the window runs while a converter works: it must come back
// however long the work done on timers takes, give every due timer its
// turn, and let that work go on step by step.
#include "WindowFixture.h"

namespace vantrel::testing {
namespace {

int slowCalls = 0, otherCalls = 0;

// Always outlasts its 1 ms period, as background colouring outlasts its timer.
void CALLBACK slowTimer(HWND, UINT, UINT_PTR id, DWORD) {
  ++slowCalls;
  Sleep(5);
  if (slowCalls >= 200) KillTimer(nullptr, id);
}
void CALLBACK otherTimer(HWND, UINT, UINT_PTR, DWORD) { ++otherCalls; }

TEST(MessageLoop, APumpHandlesEachDueTimerOnceAndTheNextPumpGoesOn) {
  const UINT_PTR slow = SetTimer(nullptr, 0, 1, slowTimer);
  const UINT_PTR other = SetTimer(nullptr, 0, 1, otherTimer);
  ASSERT_NE(slow, 0u);
  ASSERT_NE(other, 0u);
  Sleep(10);  // both due
  win32::pumpPendingMessages();
  EXPECT_EQ(slowCalls, 1) << "one call, not the timer's whole run";
  EXPECT_EQ(otherCalls, 1) << "the other timer had its turn too";
  Sleep(10);
  win32::pumpPendingMessages();
  EXPECT_EQ(slowCalls, 2) << "the next pump takes the next step";
  KillTimer(nullptr, slow);
  KillTimer(nullptr, other);
}

}  // namespace
}  // namespace vantrel::testing
