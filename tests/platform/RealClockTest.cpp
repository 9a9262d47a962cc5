// The real clock: a wait blocks until another thread signals. Nothing here
// depends on timing: the other thread acts once it has seen the program
// thread go to sleep, and the wait is correct whichever comes first.
#include <gtest/gtest.h>

#include <thread>

#include "kernel/DriverSignal.h"
#include "kernel/Platform.h"
#include "phone/Phone.h"
#include "win/user.h"

namespace {

class RealClockTest : public ::testing::Test {
 protected:
  platform::Phone phone{platform::ClockKind::Real};
};

// Runs `act` on another thread once the program thread is blocked.
std::thread WhenBlocked(std::function<void()> act) {
  return std::thread([act] {
    while (platform::BlockedWaitCount() == 0) std::this_thread::yield();
    act();
  });
}

TEST_F(RealClockTest, SetEventFromAnotherThreadWakesAnEndlessWait) {
  HANDLE h[2] = {CreateEventW(nullptr, FALSE, FALSE, nullptr),
                 CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  std::thread signaller = WhenBlocked([e = h[1]] { SetEvent(e); });
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(2, h, INFINITE, 0x7F, 0), WAIT_OBJECT_0 + 1);
  signaller.join();
  EXPECT_GE(platform::BlockedWaitCount(), 1u);
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(2, h, 0, 0x7F, 0), WAIT_TIMEOUT) << "auto-reset consumed";
}

TEST_F(RealClockTest, PostFromAnotherThreadWakesAnEndlessWait) {
  DWORD programThread = GetCurrentThreadId();
  std::thread poster = WhenBlocked([programThread] {
    PostThreadMessageW(programThread, WM_USER, 5, 0);
  });
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, 0x7F, 0), WAIT_OBJECT_0);
  poster.join();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(RealClockTest, OccurrenceScheduledFromAnotherThreadRunsOnTheProgramThread) {
  HANDLE e = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::thread::id ranOn;
  std::thread scheduler = WhenBlocked([&] {
    platform::ScheduleAt(platform::Time{0}, [&] {
      ranOn = std::this_thread::get_id();
      SetEvent(e);
    });
  });
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &e, INFINITE, 0, 0), WAIT_OBJECT_0);
  scheduler.join();
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST_F(RealClockTest, DriverSignalRunsItsActionOnTheProgramThreadOncePerBatchOfRaises) {
  HANDLE e = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  std::thread::id ranOn;
  int runs = 0;
  platform::DriverSignal signal([&] {
    ranOn = std::this_thread::get_id();
    ++runs;
    SetEvent(e);
  });
  std::thread driver = WhenBlocked([&] { signal.Raise(); });
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &e, INFINITE, 0, 0), WAIT_OBJECT_0);
  driver.join();
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  EXPECT_EQ(runs, 1);

  signal.Raise();
  signal.Raise();
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &e, 0, 0, 0), WAIT_OBJECT_0);
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &e, 0, 0, 0), WAIT_TIMEOUT);
  EXPECT_EQ(runs, 2) << "two raises before the wait make one run";

  {
    platform::DriverSignal gone([&] { ++runs; });
    gone.Raise();
  }
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(runs, 2) << "a signal destroyed before its action ran is forgotten";
}

TEST_F(RealClockTest, ZeroTimeoutNeverBlocks) {
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 0, 0x7F, 0), WAIT_TIMEOUT);
  EXPECT_EQ(platform::BlockedWaitCount(), 0u);
}

}  // namespace
