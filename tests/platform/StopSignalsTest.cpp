// INT, TERM and HUP reach the program thread as a wake of its wait, from
// whichever thread they land on; a second one is left to its default action.
#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include "kernel/Platform.h"
#include "kernel/StopSignals.h"
#include "phone/Phone.h"
#include "win/user.h"

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile sig_atomic_t earlierCalls = 0;
extern "C" void EarlierHandler(int) { earlierCalls = earlierCalls + 1; }

void (*Disposition(int signal))(int) {
  struct sigaction now {};
  sigaction(signal, nullptr, &now);
  return now.sa_handler;
}

// Each test starts with a handler of its own on the three signals, as a
// program may have, and puts the test program's back.
class StopSignalsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    struct sigaction action {};
    action.sa_handler = EarlierHandler;
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &saved_[i]);
    earlierCalls = 0;
  }
  void TearDown() override {
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &saved_[i], nullptr);
  }

  struct sigaction saved_[3] {};
};

TEST_F(StopSignalsTest, ASignalOnAnotherThreadWakesAnEndlessWaitAndLeavesTheNextToItsDefault) {
  platform::Phone phone(platform::ClockKind::Real);
  const DWORD programThread = GetCurrentThreadId();
  int seen = 0;
  DWORD ranOn = 0;
  {
    platform::StopSignals watch([&](int signal) {
      seen = signal;
      ranOn = GetCurrentThreadId();
      PostThreadMessageW(programThread, WM_USER, 0, 0);
    });
    // raise() delivers to the thread that calls it: here, not the program thread.
    std::thread other([] {
      while (platform::BlockedWaitCount() == 0) std::this_thread::yield();
      raise(SIGTERM);
    });
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, 0x7F, 0), WAIT_OBJECT_0);
    other.join();
    EXPECT_EQ(seen, SIGTERM);
    EXPECT_EQ(ranOn, programThread);
    EXPECT_EQ(platform::StopSignals::Caught(), SIGTERM);
    EXPECT_EQ(earlierCalls, 0) << "the watch had the signal, not the earlier handler";
    for (int s : kSignals) EXPECT_EQ(Disposition(s), SIG_DFL) << "a second signal ends the program at once: " << s;
  }
  for (int s : kSignals) EXPECT_EQ(Disposition(s), &EarlierHandler) << "the earlier handler is back: " << s;
  raise(SIGINT);
  EXPECT_EQ(earlierCalls, 1);
}

TEST_F(StopSignalsTest, OnTheVirtualClockTheNextWaitTakesItAndOnlyTheFirstSignalCounts) {
  platform::Phone phone(platform::ClockKind::Virtual);
  std::vector<int> seen;
  platform::StopSignals watch([&](int signal) { seen.push_back(signal); });
  EXPECT_EQ(platform::StopSignals::Caught(), 0);
  raise(SIGHUP);
  EXPECT_EQ(platform::StopSignals::Caught(), SIGHUP);
  EXPECT_TRUE(seen.empty()) << "never inside the handler";
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 0, 0x7F, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(seen, std::vector<int>{SIGHUP});
  // Were a second signal to reach the handler (here the earlier handler
  // takes it, standing in for the default action), it would change nothing.
  struct sigaction action {};
  action.sa_handler = EarlierHandler;
  sigaction(SIGINT, &action, nullptr);
  raise(SIGINT);
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 0, 0x7F, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(seen, std::vector<int>{SIGHUP});
  EXPECT_EQ(earlierCalls, 1);
}

TEST_F(StopSignalsTest, ASignalTheProgramWasStartedToIgnoreStaysIgnored) {
  platform::Phone phone(platform::ClockKind::Virtual);
  signal(SIGHUP, SIG_IGN);
  bool stopped = false;
  {
    platform::StopSignals watch([&](int) { stopped = true; });
    EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
    raise(SIGHUP);
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 0, 0x7F, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(stopped);
    EXPECT_EQ(platform::StopSignals::Caught(), 0);
  }
  EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
  EXPECT_EQ(Disposition(SIGINT), &EarlierHandler);
}

}  // namespace
