#include <vector>

#include "VirtualPlatform.h"

namespace {

using WaitTest = VirtualPlatform;

std::vector<HANDLE> Events(int n, BOOL manual = FALSE) {
  std::vector<HANDLE> events;
  for (int i = 0; i < n; ++i) events.push_back(CreateEventW(nullptr, manual, FALSE, nullptr));
  return events;
}

TEST_F(WaitTest, LowestSignalledIndexWinsOnlyItIsConsumedAndHandlesComeBeforeInput) {
  auto h = Events(3);
  SetEvent(h[2]);
  SetEvent(h[1]);
  PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
  EXPECT_EQ(Wait(3, h.data(), 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(Wait(3, h.data(), 0), WAIT_OBJECT_0 + 2);
  EXPECT_EQ(Wait(3, h.data(), 0), WAIT_OBJECT_0 + 3);
  EXPECT_EQ(Wait(3, h.data(), 0, 0), WAIT_TIMEOUT);
}

TEST_F(WaitTest, RefusedWaitsFailAndConsumeNothing) {
  auto h = Events(65);
  SetEvent(h[63]);
  EXPECT_EQ(Wait(64, h.data(), 0), WAIT_OBJECT_0 + 63);
  SetEvent(h[0]);
  EXPECT_EQ(Wait(65, h.data(), 0), WAIT_FAILED);
  CloseHandle(h[1]);
  EXPECT_EQ(Wait(2, h.data(), 0), WAIT_FAILED) << "an invalid handle fails even behind a signalled one";
  EXPECT_EQ(Wait(1, nullptr, 0), WAIT_FAILED);
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, h.data(), 0, 0x7F, 4), WAIT_FAILED) << "unknown flags";
  EXPECT_EQ(Wait(1, h.data(), 0), WAIT_OBJECT_0);
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
  EXPECT_EQ(Wait(0, nullptr, 0, QS_TIMER), WAIT_TIMEOUT) << "a posted message is not a timer";
  EXPECT_EQ(Wait(0, nullptr, 0), WAIT_OBJECT_0);
}

TEST_F(WaitTest, VirtualClockMovesToTheTimeoutOrTheTimerFallingDue) {
  auto h = Events(1);
  EXPECT_EQ(Wait(1, h.data(), INFINITE), WAIT_FAILED) << "nothing ahead";
  EXPECT_EQ(platform::Now(), Ms(0));
  SetTimer(nullptr, 0, 700, nullptr);
  EXPECT_EQ(Wait(0, nullptr, 300), WAIT_TIMEOUT);
  EXPECT_EQ(platform::Now(), Ms(300));
  EXPECT_EQ(GetTickCount(), 300u);
  EXPECT_EQ(Wait(0, nullptr, 0), WAIT_TIMEOUT);
  EXPECT_EQ(Wait(0, nullptr, 300, 0), WAIT_TIMEOUT) << "timers are not asked for";
  EXPECT_EQ(platform::Now(), Ms(600));
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(platform::Now(), Ms(700));
  // Seen but not taken: it does not wake again, and nothing else can happen.
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(Wait(0, nullptr, 50), WAIT_TIMEOUT);
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_FAILED);
}

TEST_F(WaitTest, IdleHookRunsOnceBeforeEachSleepAndWhatItPostsWakesTheWait) {
  std::vector<long long> idleAt;
  bool post = false;
  platform::SetIdleHook([&] {
    idleAt.push_back(platform::Now().count() / 1000000);
    if (post) PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
  });
  EXPECT_EQ(Wait(0, nullptr, 0), WAIT_TIMEOUT) << "a poll is not idle";
  platform::ScheduleAt(Ms(40), [] {});
  EXPECT_EQ(Wait(0, nullptr, 100), WAIT_TIMEOUT);
  EXPECT_EQ(idleAt, (std::vector<long long>{0, 40}));
  post = true;
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(platform::Now(), Ms(100)) << "the posted message ended the wait before time passed";
  platform::SetIdleHook(nullptr);
}

}  // namespace
