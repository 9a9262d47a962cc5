#include "TimerFixture.h"

namespace {

using TimerNodeTest = TimerFixture;

// Waits as the loop does; true when input (a timer falling due) woke it.
bool TimerPending() { return MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, 0x7F, 0) == WAIT_OBJECT_0; }

TEST_F(TimerNodeTest, OneShotFiresOnceAndItsHandlerCanStartItAgain) {
  auto t = NewNode("t");
  t->Start(100, false);
  EXPECT_TRUE(t->IsSet());
  RunFor(1000);
  EXPECT_EQ(trace, std::vector<std::string>{"t"});
  EXPECT_FALSE(t->IsSet());

  struct Again : virtual CRefCounter {
    void Fire() {
      log->push_back("again");
      if (log->size() < 2) node->Start(300, false);
    }
    std::vector<std::string> *log;
    TimerNode *node;
  };
  trace.clear();
  RCPtr<Again> again(new Again);
  again->log = &trace;
  again->node = t.get();
  t->SetHandler(MakeDelegate<void()>(again.get(), &Again::Fire));
  t->Start(100, false);
  RunFor(1000);
  EXPECT_EQ(trace, (std::vector<std::string>{"again", "again"}));
  EXPECT_EQ(NowMs(), 2000);
}

TEST_F(TimerNodeTest, RepeatingTimerFiresEveryPeriodUntilStopped) {
  auto t = NewNode("t");
  t->Start(100, true);
  RunFor(350);
  EXPECT_EQ(trace.size(), 3u);
  EXPECT_TRUE(t->IsSet());
  t->StopTimer();
  EXPECT_FALSE(t->IsSet());
  EXPECT_FALSE(TimerPending()) << "the platform timer is gone";
  EXPECT_EQ(trace.size(), 3u);
}

TEST_F(TimerNodeTest, RestartReplacesThePeriod) {
  auto t = NewNode("t");
  t->Start(100, true);
  RunFor(50);
  t->Start(300, true);
  RunFor(700);  // until 750: expiries at 350 and 650 only
  EXPECT_EQ(trace.size(), 2u);
}

TEST_F(TimerNodeTest, QueuedExpiryOfAnOldIdIsIgnored) {
  auto t = NewNode("t");
  t->Start(100, false);
  ASSERT_TRUE(TimerPending());
  MSG old;
  ASSERT_TRUE(PeekMessageW(&old, nullptr, 0, 0, PM_REMOVE));
  t->Start(100, false);
  DispatchMessageW(&old);
  EXPECT_TRUE(trace.empty());
  EXPECT_TRUE(t->IsSet()) << "the new timer is untouched";
  RunFor(150);
  EXPECT_EQ(trace, std::vector<std::string>{"t"});
}

TEST_F(TimerNodeTest, StoppingAStoppedTimerChangesNothing) {
  auto t = NewNode("t");
  auto other = NewNode("other");
  other->Start(100, true);
  t->StopTimer();
  EXPECT_FALSE(t->IsSet());
  EXPECT_TRUE(other->IsSet());
  RunFor(250);
  EXPECT_EQ(trace, (std::vector<std::string>{"other", "other"}));
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
  ASSERT_TRUE(TimerPending());
  MSG queued;
  ASSERT_TRUE(PeekMessageW(&queued, nullptr, 0, 0, PM_REMOVE));
  t.Reset();
  EXPECT_FALSE(TimerPending()) << "no platform timer is left";
  DispatchMessageW(&queued);
  EXPECT_TRUE(trace.empty());
  EXPECT_FALSE(record.Raised());
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
  record.Clear();
  RCPtr<TimerNode> late(new TimerNode(root.get()));
  EXPECT_STREQ(record->file, "TimerNode");
  EXPECT_EQ(record->line, 11);
  EXPECT_STREQ(record->function, "TimerNode::TimerNode");
  late->Start(100, true);
  EXPECT_EQ(record->line, 278);
  EXPECT_FALSE(late->IsSet());
}

TEST_F(TimerNodeTest, AHandlerMayReleaseItsOwnNode) {
  struct SelfRelease : virtual CRefCounter {
    void Fire() {
      ++fired;
      node.Reset();
    }
    int fired = 0;
    RCPtr<TimerNode> node;
  };
  RCPtr<SelfRelease> s(new SelfRelease);
  s->node = new TimerNode(root.get());
  s->node->SetHandler(MakeDelegate<void()>(s.get(), &SelfRelease::Fire));
  s->node->Start(100, true);
  RunFor(1000);
  EXPECT_EQ(s->fired, 1);
  EXPECT_FALSE(TimerPending());
}

TEST_F(TimerNodeTest, SecondDefaultManagerSharesTheFirstFactory) {
  struct Factory : virtual CRefCounter {
    void Make(RCPtr<TimerDefault_Manager::Calls> *) { ++made; }
    int made = 0;
  };
  RCPtr<Factory> unused(new Factory);
  RCPtr<TimerDefault_Manager> second(new TimerDefault_Manager(
      root.get(), MakeDelegate<void(RCPtr<TimerDefault_Manager::Calls> *)>(unused.get(), &Factory::Make)));
  EXPECT_STREQ(record->file, "TimerDefault_Manager");
  EXPECT_EQ(record->line, 9);
  EXPECT_STREQ(record->function, "TimerDefault_Manager::TimerDefault_Manager");
  auto t = NewNode("t");
  EXPECT_EQ(unused->made, 0);
  t->Start(100, false);
  RunFor(150);
  EXPECT_EQ(trace, std::vector<std::string>{"t"}) << "served by the first factory's provider";

  // Once every manager is gone there is no factory.
  second.Reset();
  defaults.Reset();
  record.Clear();
  RCPtr<TimerDefault_Manager::Calls> calls;
  TimerDefault_Manager::CreateTimerCalls(&calls);
  EXPECT_TRUE(calls.IsEmpty());
  EXPECT_EQ(record->line, 40);
  EXPECT_STREQ(record->function, "TimerDefault_Manager::CreateTimerCalls");
}

TEST_F(TimerNodeTest, TimersExpireInDueOrder) {
  auto slow = NewNode("slow");
  auto fast = NewNode("fast");
  slow->Start(250, true);
  fast->Start(100, true);
  RunFor(520);
  EXPECT_EQ(trace, (std::vector<std::string>{"fast", "fast", "slow", "fast", "fast", "slow", "fast"}));
}

}  // namespace
