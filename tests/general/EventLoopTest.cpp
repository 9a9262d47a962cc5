#include "CheckRecord.h"
#include "LoopFixture.h"

namespace {

using EventLoopTest = LoopFixture;
using Trace = std::vector<std::string>;

// Timer procedures reach the loop under test through this.
EventLoop *current = nullptr;
int timerCalls = 0;
void CALLBACK StopOnTimer(HWND, UINT, UINT_PTR, DWORD) {
  ++timerCalls;
  PostThreadMessageW(GetCurrentThreadId(), WM_USER, 99, 0);  // arrives during the drain, which has stopped by then
  current->Stop();
}

// Without handles, and with a quit message that means nothing to the loop.
TEST_F(EventLoopTest, StopInsideADispatchedMessageEndsWithoutAnotherBlockingWait) {
  current = loop.get();
  timerCalls = 0;
  PostQuitMessage(0);
  SetTimer(nullptr, 0, 100, &StopOnTimer);
  SetTimer(nullptr, 0, 10000, &StopOnTimer);  // a blocking wait would move time to it
  loop->Run();
  EXPECT_EQ(timerCalls, 1);
  EXPECT_EQ(NowMs(), 100);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "the drain stopped with the flag";
  EXPECT_EQ(msg.wParam, 99u);
}

TEST_F(EventLoopTest, SecondHookForAnIdIsRefused) {
  loop->AddMessage(Hook("first"), WM_USER);
  EXPECT_FALSE(record.Raised());
  loop->AddMessage(Hook("second"), WM_USER);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kMessageHookTaken));
  Post(WM_USER, 1);
  loop->Run();
  EXPECT_EQ(trace, Trace{"first1"});
}

TEST_F(EventLoopTest, SixtyFourHandlesAreTheLimit) {
  std::vector<RCPtr<EventLoopNode>> nodes;
  std::vector<RCPtr<EventHandleHolder>> events;
  for (int i = 0; i < 64; ++i) {
    nodes.push_back(Node(std::to_string(i)));
    events.push_back(NewEvent());
    loop->AddEventHandle(nodes.back(), events.back());
  }
  EXPECT_FALSE(record.Raised());
  auto extra = NewEvent(TRUE, TRUE);
  loop->AddEventHandle(Node("extra"), extra);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kTooManyHandles));
  record.Clear();
  loop->AddEventHandle(nodes[5], extra);  // with 64 present even a replacement is refused
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kTooManyHandles));
  for (auto &e : events) SetEvent(e->Get());
  loop->Run();  // all 64 are waited on; then nothing is left and the wait fails
  EXPECT_EQ(trace.size(), 64u);
}

TEST_F(EventLoopTest, ANodeAddedAgainGetsTheNewHolder) {
  auto node = Node("n");
  loop->AddEventHandle(node, NewEvent());
  loop->AddEventHandle(node, NewEvent(FALSE, TRUE));
  loop->Run();
  EXPECT_EQ(trace, Trace{"n"});
}

TEST_F(EventLoopTest, HandlesAddedWhileRunningWaitForTheNextRun) {
  auto late = Node("late");
  auto lateEvent = NewEvent(FALSE, TRUE);
  loop->AddEventHandle(NodeDoing([&] { loop->AddEventHandle(late, lateEvent); }), NewEvent(FALSE, TRUE));
  loop->Run();
  EXPECT_TRUE(trace.empty());
  loop->Run();
  EXPECT_EQ(trace, Trace{"late"});
}

// Both handles stay signalled (their nodes signal them again) and each
// service posts a message: services and message checks alternate, the first
// node in map order is the one serviced, and every message is handled before
// the next service.
TEST_F(EventLoopTest, ContinuouslySignalledHandlesAlternateWithMessages) {
  WPARAM services = 0;
  auto resignal = [&](std::string name, HANDLE self) {
    return NodeDoing([&, name, self] {
      Log(name);
      SetEvent(self);
      Post(WM_USER, ++services);
      if (services == 6) loop->Stop();
    });
  };
  auto e1 = NewEvent(FALSE, TRUE), e2 = NewEvent(FALSE, TRUE);
  auto n1 = resignal("a", e1->Get()), n2 = resignal("b", e2->Get());
  loop->AddEventHandle(n1, e1);
  loop->AddEventHandle(n2, e2);
  loop->AddMessage(Hook("m"), WM_USER);
  loop->Run();
  const std::string first = n1.get() < n2.get() ? "a" : "b";
  EXPECT_EQ(trace, (Trace{first, "m1", first, "m2", first, "m3", first, "m4", first, "m5", first}));
  EXPECT_EQ(NowMs(), 0);
}

TEST_F(EventLoopTest, AfterTearDownNodesAndHooksCallNothing) {
  current = loop.get();
  timerCalls = 0;
  loop->AddEventHandle(Node("n"), NewEvent(FALSE, TRUE));
  loop->AddMessage(Hook("timer"), WM_TIMER);
  root.reset();
  SetTimer(nullptr, 0, 100, &StopOnTimer);
  loop->Run();
  EXPECT_TRUE(trace.empty());
  EXPECT_STREQ(record->file, "Delegate_N1");
  EXPECT_EQ(timerCalls, 1) << "an unbound hook leaves the message to dispatch";
}

TEST_F(EventLoopTest, ClosedOrMissingHandleEndsRunThroughTheFailedWait) {
  auto closed = NewEvent(FALSE, TRUE);
  CloseHandle(closed->Get());
  for (const auto &holder : {closed, RCPtr<EventHandleHolder>()}) {
    loop = new EventLoop;
    loop->AddEventHandle(Node("n"), holder);
    loop->Run();
    EXPECT_TRUE(trace.empty());
  }
  EXPECT_EQ(record->line, CheckSites::kEmptyPointer.line);  // the empty holder
}

}  // namespace
