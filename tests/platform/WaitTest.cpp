#include <vector>

#include "VirtualPlatform.h"

namespace {

using WaitTest = VirtualPlatform;

std::vector<HANDLE> Events(int n, BOOL manual = FALSE) {
  std::vector<HANDLE> events;
  for (int i = 0; i < n; ++i) events.push_back(CreateEventW(nullptr, manual, FALSE, nullptr));
  return events;
}

TEST_F(WaitTest, LowestSignalledIndexWinsAndOnlyItIsConsumed) {
  auto h = Events(3);
  SetEvent(h[2]);
  SetEvent(h[1]);
  EXPECT_EQ(Wait(3, h.data(), 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(Wait(3, h.data(), 0), WAIT_OBJECT_0 + 2);
  EXPECT_EQ(Wait(3, h.data(), 0), WAIT_TIMEOUT);
}

TEST_F(WaitTest, HandlesComeBeforeInput) {
  auto h = Events(1);
  SetEvent(h[0]);
  PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
  EXPECT_EQ(Wait(1, h.data(), 0), WAIT_OBJECT_0);
  EXPECT_EQ(Wait(1, h.data(), 0), WAIT_OBJECT_0 + 1);
}

TEST_F(WaitTest, SixtyFourHandlesAreAcceptedAndSixtyFiveFail) {
  auto h = Events(65);
  SetEvent(h[63]);
  EXPECT_EQ(Wait(64, h.data(), 0), WAIT_OBJECT_0 + 63);
  SetEvent(h[0]);
  EXPECT_EQ(Wait(65, h.data(), 0), WAIT_FAILED);
  // The refused wait consumed nothing.
  EXPECT_EQ(Wait(1, h.data(), 0), WAIT_OBJECT_0);
}

TEST_F(WaitTest, AnInvalidHandleFailsEvenBehindASignalledOne) {
  auto h = Events(2);
  SetEvent(h[0]);
  CloseHandle(h[1]);
  EXPECT_EQ(Wait(2, h.data(), 0), WAIT_FAILED);
  EXPECT_EQ(Wait(1, h.data(), 0), WAIT_OBJECT_0);
}

TEST_F(WaitTest, BadArgumentsFail) {
  EXPECT_EQ(Wait(1, nullptr, 0), WAIT_FAILED);
  auto h = Events(1, TRUE);
  SetEvent(h[0]);
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, h.data(), 0, 0x7F, 4), WAIT_FAILED);
}

TEST_F(WaitTest, InputWakesOnlyWhenNewSinceTheLastLook) {
  PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
  EXPECT_EQ(Wait(0, nullptr, 0), WAIT_OBJECT_0);
  EXPECT_EQ(Wait(0, nullptr, 0, 0), WAIT_TIMEOUT) << "an empty mask never reports input";
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  // Seen and left in the queue: no longer new.
  EXPECT_EQ(Wait(0, nullptr, 0), WAIT_TIMEOUT);
  PostThreadMessageW(GetCurrentThreadId(), WM_USER, 1, 0);
  EXPECT_EQ(Wait(0, nullptr, 0), WAIT_OBJECT_0);
  EXPECT_EQ(Wait(0, nullptr, 0, QS_TIMER), WAIT_TIMEOUT) << "a posted message is not a timer";
}

TEST_F(WaitTest, EndlessWaitWithNothingAheadFailsOnTheVirtualClock) {
  auto h = Events(1);
  EXPECT_EQ(Wait(1, h.data(), INFINITE), WAIT_FAILED);
  EXPECT_EQ(platform::Now(), Ms(0));
}

TEST_F(WaitTest, TimeoutAdvancesVirtualTimeByItsLengthAtMost) {
  EXPECT_EQ(Wait(0, nullptr, 250), WAIT_TIMEOUT);
  EXPECT_EQ(platform::Now(), Ms(250));
  EXPECT_EQ(GetTickCount(), 250u);
  EXPECT_EQ(Wait(0, nullptr, 0), WAIT_TIMEOUT);
  EXPECT_EQ(platform::Now(), Ms(250));
}

TEST_F(WaitTest, EndlessWaitJumpsToTheTimerFallingDue) {
  SetTimer(nullptr, 0, 700, nullptr);
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(platform::Now(), Ms(700));
}

TEST_F(WaitTest, TimerDueBeyondTheTimeoutDoesNotEndTheWait) {
  SetTimer(nullptr, 0, 700, nullptr);
  EXPECT_EQ(Wait(0, nullptr, 300), WAIT_TIMEOUT);
  EXPECT_EQ(platform::Now(), Ms(300));
  EXPECT_EQ(Wait(0, nullptr, 300, 0), WAIT_TIMEOUT) << "timers are not asked for";
  EXPECT_EQ(Wait(0, nullptr, 300), WAIT_OBJECT_0);
  EXPECT_EQ(platform::Now(), Ms(700));
}

TEST_F(WaitTest, SeenButUntakenTimerDoesNotWakeAgain) {
  SetTimer(nullptr, 0, 100, nullptr);
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_OBJECT_0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(Wait(0, nullptr, 50), WAIT_TIMEOUT);
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_FAILED) << "nothing else can happen";
}

TEST_F(WaitTest, OccurrenceSignallingAnEventEndsAnEndlessWait) {
  auto h = Events(2);
  platform::ScheduleAt(Ms(40), [e = h[1]] { SetEvent(e); });
  EXPECT_EQ(Wait(2, h.data(), INFINITE), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(platform::Now(), Ms(40));
}

TEST_F(WaitTest, OccurrenceThatSignalsNothingLetsTheWaitGoOn) {
  auto h = Events(1);
  int ran = 0;
  platform::ScheduleAt(Ms(10), [&ran] { ++ran; });
  platform::ScheduleAt(Ms(30), [&ran, e = h[0]] { ++ran, SetEvent(e); });
  EXPECT_EQ(Wait(1, h.data(), INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(ran, 2);
  EXPECT_EQ(platform::Now(), Ms(30));
}

TEST_F(WaitTest, OccurrencePostingAMessageIsInput) {
  platform::ScheduleAt(Ms(5), [] { PostThreadMessageW(GetCurrentThreadId(), WM_USER, 7, 0); });
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_OBJECT_0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(msg.time, 5u);
}

}  // namespace
