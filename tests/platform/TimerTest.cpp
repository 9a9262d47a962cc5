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

TEST_F(TimerTest, ExpiriesArriveAsTimerMessagesForTheProcedure) {
  fired.clear();
  UINT_PTR id = SetTimer(nullptr, 0, 100, &Record);
  UINT_PTR other = SetTimer(nullptr, 555, 100000, &Record);
  EXPECT_NE(id, 0u);
  EXPECT_NE(other, id);
  EXPECT_NE(other, 555u) << "the requested id is ignored";
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
  ASSERT_TRUE(NextExpiry(&msg));
  EXPECT_EQ(msg.wParam, id);
  EXPECT_EQ(platform::Now(), Ms(1100));
}

TEST_F(TimerTest, PostedMessagesAndQuitComeBeforeDueTimersWhichComeEarliestFirst) {
  UINT_PTR slow = SetTimer(nullptr, 0, 300, &Record);
  UINT_PTR fast = SetTimer(nullptr, 0, 200, &Record);
  Wait(0, nullptr, 300, 0);
  PostQuitMessage(0);
  PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
  std::vector<std::pair<UINT, WPARAM>> order;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) order.emplace_back(msg.message, msg.wParam);
  EXPECT_EQ(order, (std::vector<std::pair<UINT, WPARAM>>{
                       {WM_USER, 0}, {WM_QUIT, 0}, {WM_TIMER, fast}, {WM_TIMER, slow}}));
}

TEST_F(TimerTest, KillTimerRemovesThePendingExpiryAndFailsForUnknownIds) {
  UINT_PTR id = SetTimer(nullptr, 0, 100, &Record);
  Wait(0, nullptr, 100, 0);
  EXPECT_FALSE(KillTimer(nullptr, 0));
  EXPECT_FALSE(KillTimer(nullptr, id + 1));
  EXPECT_TRUE(KillTimer(nullptr, id));
  EXPECT_FALSE(KillTimer(nullptr, id));
  EXPECT_EQ(Drain(), 0);
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_FAILED);
}

TEST_F(TimerTest, SettingARunningIdReplacesItsPeriodAndShortPeriodsCountAsTen) {
  UINT_PTR id = SetTimer(nullptr, 0, 100, &Record);
  Wait(0, nullptr, 50, 0);
  EXPECT_EQ(SetTimer(nullptr, id, 500, &Record), id);
  MSG msg;
  ASSERT_TRUE(NextExpiry(&msg));
  EXPECT_EQ(msg.wParam, id);
  EXPECT_EQ(platform::Now(), Ms(550));
  SetTimer(nullptr, id, 0, &Record);
  ASSERT_TRUE(NextExpiry(&msg));
  EXPECT_EQ(platform::Now(), Ms(560));
}

}  // namespace
