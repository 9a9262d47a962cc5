#include <string>
#include <vector>

#include "VirtualPlatform.h"

namespace {

using OccurrenceTest = VirtualPlatform;

TEST_F(OccurrenceTest, RunInTimeOrderThenInTheOrderScheduled) {
  std::vector<std::string> log;
  platform::ScheduleAt(Ms(20), [&] { log.push_back("b"); });
  platform::ScheduleAt(Ms(10), [&] { log.push_back("a"); });
  platform::ScheduleAt(Ms(20), [&] { log.push_back("c"); });
  EXPECT_EQ(Wait(0, nullptr, 15), WAIT_TIMEOUT);
  EXPECT_EQ(log, std::vector<std::string>{"a"});
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_FAILED);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(platform::Now(), Ms(20));
}

TEST_F(OccurrenceTest, AreNotRunBeforeTheirTimeAndRunInsidePeeks) {
  int ran = 0;
  platform::ScheduleAt(Ms(0), [&] { ++ran; });
  platform::ScheduleAt(Ms(5), [&] { ++ran; });
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(ran, 1);
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

TEST_F(OccurrenceTest, ChainWithoutDriftAndSeeTheirOwnTime) {
  // A driver completing a 100 ms buffer after another, as a capture source does.
  std::vector<long long> times;
  std::function<void(platform::Time)> next = [&](platform::Time at) {
    platform::ScheduleAt(at, [&, at] {
      times.push_back(platform::Now().count());
      if (times.size() < 3) next(at + Ms(100));
    });
  };
  next(Ms(100));
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_FAILED);
  EXPECT_EQ(times, (std::vector<long long>{Ms(100).count(), Ms(200).count(), Ms(300).count()}));
}

TEST_F(OccurrenceTest, ResetDropsThemUncalledWithTimersAndFaultsAndRestartsTheClock) {
  int ran = 0;
  platform::ScheduleAt(Ms(10), [&] { ++ran; });
  SetTimer(nullptr, 0, 100, nullptr);
  platform::FailCall("CreateEventW", 1, 0);
  Wait(0, nullptr, 5, 0);
  platform::Reset(platform::ClockKind::Virtual);
  EXPECT_EQ(GetTickCount(), 0u);
  EXPECT_NE(CreateEventW(nullptr, FALSE, FALSE, nullptr), nullptr);
  EXPECT_EQ(Wait(0, nullptr, INFINITE), WAIT_FAILED);
  EXPECT_EQ(ran, 0);
}

}  // namespace
