// Ctrl-C reaches the loop as an event, set by the watcher thread rather
// than by the signal handler.
#include <gtest/gtest.h>

#include <csignal>

#include "InterruptWatch.h"
#include "kernel/Platform.h"
#include "phone/Phone.h"
#include "win/user.h"

namespace {

volatile sig_atomic_t earlierHandlerCalls = 0;
extern "C" void EarlierHandler(int) { earlierHandlerCalls = earlierHandlerCalls + 1; }

void (*Disposition(int signal))(int) {
  struct sigaction now {};
  sigaction(signal, nullptr, &now);
  return now.sa_handler;
}

class InterruptWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    struct sigaction action {};
    action.sa_handler = EarlierHandler;
    sigaction(SIGINT, &action, &saved_);
    earlierHandlerCalls = 0;
  }
  void TearDown() override { sigaction(SIGINT, &saved_, nullptr); }

  // Blocks until the watch's event is set (the watcher thread sets it).
  static bool WaitFor(const InterruptWatch &watch) {
    HANDLE event = watch.Event()->Get();
    return MsgWaitForMultipleObjectsEx(1, &event, INFINITE, 0, 0) == WAIT_OBJECT_0;
  }

  platform::Phone phone{platform::ClockKind::Real};
  struct sigaction saved_ {};
};

TEST_F(InterruptWatchTest, TheFirstSignalSetsTheEventAndTheNextOneIsNotCaught) {
  {
    InterruptWatch watch;
    ASSERT_TRUE(watch.Ok());
    EXPECT_FALSE(watch.Interrupted());
    raise(SIGINT);
    ASSERT_TRUE(WaitFor(watch));
    EXPECT_TRUE(watch.Interrupted());
    EXPECT_EQ(earlierHandlerCalls, 0) << "the watch had the signal, not the earlier handler";
    EXPECT_EQ(Disposition(SIGINT), SIG_DFL) << "a second Ctrl-C ends the program at once";
  }
  EXPECT_EQ(Disposition(SIGINT), &EarlierHandler) << "the earlier handler is back";
  raise(SIGINT);
  EXPECT_EQ(earlierHandlerCalls, 1);
}

TEST_F(InterruptWatchTest, SigtermIsTakenTheSameWay) {
  struct sigaction before {};
  sigaction(SIGTERM, nullptr, &before);
  {
    InterruptWatch watch;
    ASSERT_TRUE(watch.Ok());
    raise(SIGTERM);
    ASSERT_TRUE(WaitFor(watch));
    EXPECT_TRUE(watch.Interrupted());
  }
  EXPECT_EQ(Disposition(SIGTERM), before.sa_handler);
}

TEST_F(InterruptWatchTest, ASignalTheProgramWasStartedToIgnoreStaysIgnored) {
  signal(SIGINT, SIG_IGN);
  {
    InterruptWatch watch;
    ASSERT_TRUE(watch.Ok());
    EXPECT_EQ(Disposition(SIGINT), SIG_IGN);
    raise(SIGINT);  // nothing happens
  }
  EXPECT_EQ(Disposition(SIGINT), SIG_IGN);
}

TEST_F(InterruptWatchTest, WithoutASignalTheWatcherEndsQuietly) {
  for (int i = 0; i < 3; ++i) {
    InterruptWatch watch;
    ASSERT_TRUE(watch.Ok());
    EXPECT_FALSE(watch.Interrupted());
  }
  EXPECT_EQ(Disposition(SIGINT), &EarlierHandler);
}

}  // namespace
