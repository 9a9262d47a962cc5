#include <vector>

#include "VirtualPlatform.h"

namespace {

using TimerTest = VirtualPlatform;

std::vector<UINT_PTR> fired;
void CALLBACK Record(HWND, UINT, UINT_PTR id, DWORD) { fired.push_back(id); }

// Waits as the loop does, then takes and dispatches one message.
bool NextExpiry(MSG *msg) {
  if (MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, 0x7F, 0) != WAIT_OBJECT_0) return false;
  if (!PeekMessageW(msg, nullptr, 0, 0, PM_REMOVE)) return false;
  DispatchMessageW(msg);
  return true;
}

TEST_F(TimerTest, IdsAreNonZeroAndDistinctAndTheRequestedIdIsIgnored) {
  UINT_PTR a = SetTimer(nullptr, 0, 100, &Record);
  UINT_PTR b = SetTimer(nullptr, 555, 100, &Record);
  EXPECT_NE(a, 0u);
  EXPECT_NE(b, 0u);
  EXPECT_NE(a, b);
  EXPECT_NE(b, 555u);
}

TEST_F(TimerTest, ExpiriesArriveAsTimerMessagesForTheProcedure) {
  fired.clear();
  UINT_PTR id = SetTimer(nullptr, 0, 100, &Record);
  MSG msg;
  for (int i = 1; i <= 3; ++i) {
    ASSERT_TRUE(NextExpiry(&msg));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.wParam, id);
    EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(&Record));
    EXPECT_EQ(platform::Now(), Ms(100 * i));
  }
  EXPECT_EQ(fired, (std::vector<UINT_PTR>{id, id, id}));
}

TEST_F(TimerTest, AnOverdueTimerHasOnlyOnePendingExpiryAndRestartsWhenTaken) {
  UINT_PTR id = SetTimer(nullptr, 0, 100, &Record);
  EXPECT_EQ(Wait(0, nullptr, 1000, 0), WAIT_TIMEOUT);  // ten periods pass unseen
  EXPECT_EQ(Drain(), 1);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  ASSERT_TRUE(NextExpiry(&msg));
  EXPECT_EQ(msg.wParam, id);
  EXPECT_EQ(platform::Now(), Ms(1100));
}

TEST_F(TimerTest, PostedMessagesAndQuitComeBeforeADueTimer) {
  SetTimer(nullptr, 0, 10, &Record);
  Wait(0, nullptr, 10, 0);
  PostQuitMessage(0);
  PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
  std::vector<UINT> order;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) order.push_back(msg.message);
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_QUIT, WM_TIMER}));
}

TEST_F(TimerTest, EarliestDueComesFirst) {
  UINT_PTR slow = SetTimer(nullptr, 0, 300, &Record);
  UINT_PTR fast = SetTimer(nullptr, 0, 200, &Record);
  Wait(0, nullptr, 300, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, fast);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, slow);
}

TEST_F(TimerTest, KillTimerStopsExpiriesAndFailsForUnknownIds) {
  UINT_PTR id = SetTimer(nullptr, 0, 100, &Record);
  EXPECT_FALSE(KillTimer(nullptr, 0));
  EXPECT_FALSE(KillTimer(nullptr, id + 1));
  EXPECT_TRUE(KillTimer(nullptr, id));
  EXPECT_FALSE(KillTimer(nullptr, id));
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_FAILED);
}

TEST_F(TimerTest, KillingADueTimerRemovesItsPendingExpiry) {
  UINT_PTR id = SetTimer(nullptr, 0, 100, &Record);
  Wait(0, nullptr, 100, 0);
  KillTimer(nullptr, id);
  EXPECT_EQ(Drain(), 0);
}

TEST_F(TimerTest, SettingARunningIdReplacesItsPeriod) {
  UINT_PTR id = SetTimer(nullptr, 0, 100, &Record);
  Wait(0, nullptr, 50, 0);
  EXPECT_EQ(SetTimer(nullptr, id, 500, &Record), id);
  MSG msg;
  ASSERT_TRUE(NextExpiry(&msg));
  EXPECT_EQ(msg.wParam, id);
  EXPECT_EQ(platform::Now(), Ms(550));
}

TEST_F(TimerTest, PeriodsBelowTenMillisecondsCountAsTen) {
  SetTimer(nullptr, 0, 0, &Record);
  MSG msg;
  ASSERT_TRUE(NextExpiry(&msg));
  EXPECT_EQ(platform::Now(), Ms(10));
}

TEST_F(TimerTest, InjectedFailureOfSetTimerSetsNoTimer) {
  platform::FailCall("SetTimer", 1, 0);
  EXPECT_EQ(SetTimer(nullptr, 0, 100, &Record), 0u);
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_FAILED);
  EXPECT_NE(SetTimer(nullptr, 0, 100, &Record), 0u);
}

}  // namespace
