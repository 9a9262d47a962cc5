#include "CheckRecord.h"
#include "TimerFixture.h"

namespace {

using TimerNodeTest = TimerFixture;
using Trace = std::vector<std::string>;

// Waits as the loop does; true when input (a timer falling due) woke it.
bool TimerPending() { return MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, 0x7F, 0) == WAIT_OBJECT_0; }

// Takes the expiry now queued, to dispatch it later.
MSG TakeExpiry() {
  MSG msg{};
  EXPECT_TRUE(TimerPending());
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  return msg;
}

TEST_F(TimerNodeTest, OneShotFiresOnceAndItsHandlerCanStartItAgain) {
  auto t = NewNode("t");
  t->Start(100, false);
  EXPECT_TRUE(t->IsSet());
  RunFor(1000);
  EXPECT_EQ(trace, Trace{"t"});
  EXPECT_FALSE(t->IsSet());

  t->SetHandler(Do<void()>([&] {
    Log("again");
    if (trace.size() < 3) t->Start(300, false);
  }));
  t->Start(100, false);
  RunFor(1000);
  EXPECT_EQ(trace, (Trace{"t", "again", "again"}));
  EXPECT_EQ(NowMs(), 2000);
}

TEST_F(TimerNodeTest, RepeatingTimersFireInDueOrderUntilStopped) {
  auto slow = NewNode("slow"), fast = NewNode("fast"), idle = NewNode("idle");
  slow->Start(250, true);
  fast->Start(100, true);
  idle->StopTimer();  // stopping a stopped timer touches no other
  RunFor(520);
  EXPECT_EQ(trace, (Trace{"fast", "fast", "slow", "fast", "fast", "slow", "fast"}));
  EXPECT_TRUE(fast->IsSet());
  fast->StopTimer();
  slow->StopTimer();
  EXPECT_FALSE(fast->IsSet() || slow->IsSet() || idle->IsSet());
  EXPECT_FALSE(TimerPending()) << "the platform timers are gone";
}

TEST_F(TimerNodeTest, RestartReplacesThePeriodAndIgnoresTheOldIdsExpiry) {
  auto t = NewNode("t");
  t->Start(100, true);
  RunFor(50);
  t->Start(300, true);
  RunFor(700);  // until 750: expiries at 350 and 650 only
  EXPECT_EQ(trace.size(), 2u);

  trace.clear();
  t->Start(100, false);
  MSG old = TakeExpiry();
  t->Start(100, false);
  DispatchMessageW(&old);
  EXPECT_TRUE(trace.empty());
  EXPECT_TRUE(t->IsSet()) << "the new timer is untouched";
  RunFor(150);
  EXPECT_EQ(trace, Trace{"t"});
}

TEST_F(TimerNodeTest, RefusedPlatformTimerCountsAsNotSet) {
  auto t = NewNode("t");
  platform::FailCall("SetTimer", 1, 0);
  t->Start(100, true);
  EXPECT_FALSE(t->IsSet());
  EXPECT_FALSE(TimerPending());
  t->Start(100, true);
  EXPECT_TRUE(t->IsSet());
}

TEST_F(TimerNodeTest, ReleasingTheNodeKillsItsTimer) {
  auto t = NewNode("t");
  t->Start(100, true);
  MSG queued = TakeExpiry();
  t.Reset();
  EXPECT_FALSE(TimerPending()) << "no platform timer is left";
  DispatchMessageW(&queued);
  EXPECT_TRUE(trace.empty());
  EXPECT_FALSE(record.Raised());
}

TEST_F(TimerNodeTest, AHandlerMayReleaseItsOwnNode) {
  RCPtr<TimerNode> t(new TimerNode(root.get()));
  t->SetHandler(Do<void()>([&] {
    Log("t");
    t.Reset();
  }));
  t->Start(100, true);
  RunFor(1000);
  EXPECT_EQ(trace, Trace{"t"});
  EXPECT_FALSE(TimerPending());
}

TEST_F(TimerNodeTest, TearingDownTheNodesRootFirstStopsItsTimer) {
  auto userRoot = std::make_unique<UninitCaller>();
  auto t = NewNode("t", userRoot.get());
  t->Start(100, true);
  userRoot.reset();
  EXPECT_FALSE(TimerPending());
  EXPECT_FALSE(t->IsSet());
  t->Start(100, true);  // the node's calls are gone with its group
  EXPECT_FALSE(TimerPending());
}

TEST_F(TimerNodeTest, AfterTheProviderIsTornDownStartDoesNothing) {
  auto t = NewNode("t");
  t->Start(100, true);
  providerRoot.reset();
  EXPECT_FALSE(TimerPending()) << "the provider killed the running timer";
  record.Clear();
  t->Start(100, true);
  EXPECT_STREQ(record->file, "Delegate_N1");
  EXPECT_FALSE(t->IsSet());
  EXPECT_FALSE(TimerPending());
  t->StopTimer();

  // Nodes made afterwards get no calls at all.
  RCPtr<TimerNode> late(new TimerNode(root.get()));
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kTimerNodeWithoutCalls));
  late->Start(100, true);
  EXPECT_EQ(record->line, CheckSites::kEmptyPointer.line);
  EXPECT_FALSE(late->IsSet());
}

TEST_F(TimerNodeTest, SecondDefaultManagerSharesTheFirstFactory) {
  int made = 0;
  RCPtr<TimerDefault_Manager> second(
      new TimerDefault_Manager(root.get(), Do<void(RCPtr<TimerDefault_Manager::Calls> *)>(
                                               [&](RCPtr<TimerDefault_Manager::Calls> *) { ++made; })));
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kSecondTimerDefault));
  auto t = NewNode("t");
  t->Start(100, false);
  RunFor(150);
  EXPECT_EQ(made, 0);
  EXPECT_EQ(trace, Trace{"t"}) << "served by the first factory's provider";

  // Once every manager is gone there is no factory.
  second.Reset();
  timers.defaults.Reset();
  RCPtr<TimerDefault_Manager::Calls> calls;
  TimerDefault_Manager::CreateTimerCalls(&calls);
  EXPECT_TRUE(calls.IsEmpty());
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kNoTimerDefault));
}

}  // namespace
