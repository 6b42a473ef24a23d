// The pump the window runs while a converter works: it must come back
// however long the work done on timers takes, and still let that work go
// on step by step.
#include "WindowFixture.h"

namespace vantrel::testing {
namespace {

int timerCalls = 0;

// Always outlasts its 1 ms period, as background colouring outlasts its timer.
void CALLBACK slowTimer(HWND, UINT, UINT_PTR id, DWORD) {
  ++timerCalls;
  Sleep(5);
  if (timerCalls >= 200) KillTimer(nullptr, id);
}

TEST(MessageLoop, APumpHandlesOneTimerThatIsAlwaysDueAndComesBack) {
  timerCalls = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 1, slowTimer);
  ASSERT_NE(timer, 0u);
  Sleep(10);  // due
  win32::pumpPendingMessages();
  EXPECT_EQ(timerCalls, 1) << "one call, not the timer's whole run";
  Sleep(10);
  win32::pumpPendingMessages();
  EXPECT_EQ(timerCalls, 2) << "the next pump takes the next step";
  KillTimer(nullptr, timer);
}

}  // namespace
}  // namespace vantrel::testing
