#include <string>
#include <vector>

#include "VirtualPlatform.h"

namespace {

using OccurrenceTest = VirtualPlatform;
using Log = std::vector<std::string>;

TEST_F(OccurrenceTest, RunInTimeOrderThenInTheOrderScheduledAndNotBefore) {
  Log log;
  platform::ScheduleAt(Ms(20), [&] { log.push_back("b"); });
  platform::ScheduleAt(Ms(0), [&] { log.push_back("now"); });
  platform::ScheduleAt(Ms(10), [&] { log.push_back("a"); });
  platform::ScheduleAt(Ms(20), [&] { log.push_back("c"); });
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));  // peeks run those due
  EXPECT_EQ(log, Log{"now"});
  EXPECT_EQ(Wait(0, nullptr, 15), WAIT_TIMEOUT);
  EXPECT_EQ(log, (Log{"now", "a"}));
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_FAILED);
  EXPECT_EQ(log, (Log{"now", "a", "b", "c"}));
  EXPECT_EQ(platform::Now(), Ms(20));
}

TEST_F(OccurrenceTest, EndAWaitOnlyWhenTheySignalOrPost) {
  HANDLE h[2] = {CreateEventW(nullptr, FALSE, FALSE, nullptr), CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  int ran = 0;
  platform::ScheduleAt(Ms(10), [&ran] { ++ran; });
  platform::ScheduleAt(Ms(40), [&ran, e = h[1]] { ++ran, SetEvent(e); });
  EXPECT_EQ(Wait(2, h, INFINITE), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(ran, 2);
  EXPECT_EQ(platform::Now(), Ms(40));

  platform::ScheduleAt(Ms(45), [] { PostThreadMessageW(GetCurrentThreadId(), WM_USER, 7, 0); });
  EXPECT_EQ(Wait(2, h, INFINITE), WAIT_OBJECT_0 + 2);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(msg.time, 45u);
}

TEST_F(OccurrenceTest, CancelledOccurrenceNeverRuns) {
  int ran = 0;
  platform::OccurrenceId id = platform::ScheduleAt(Ms(10), [&] { ++ran; });
  EXPECT_NE(id, 0u);
  EXPECT_TRUE(platform::CancelOccurrence(id));
  EXPECT_FALSE(platform::CancelOccurrence(id));
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_FAILED);
  EXPECT_EQ(ran, 0);
}

TEST_F(OccurrenceTest, ResetDropsThemUncalledWithTimersAndFaultsAndRestartsTheClock) {
  int ran = 0;
  platform::ScheduleAt(Ms(10), [&] { ++ran; });
  SetTimer(nullptr, 0, 100, nullptr);
  platform::FailCall("CreateEventW", 1, 0);
  Wait(0, nullptr, 5, 0);
  Reset();
  EXPECT_EQ(GetTickCount(), 0u);
  EXPECT_NE(CreateEventW(nullptr, FALSE, FALSE, nullptr), nullptr);
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_FAILED);
  EXPECT_EQ(ran, 0);
}

}  // namespace
