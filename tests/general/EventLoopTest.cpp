#include <functional>

#include "LoopFixture.h"

namespace {

using EventLoopTest = LoopFixture;

// A hook that records the message and consumes it when told to.
struct Hook : virtual CRefCounter {
  Hook(std::vector<std::string> *trace, std::string name, bool consume)
      : trace(trace), name(std::move(name)), consume(consume) {}
  void Take(const tagMSG &msg, bool *handled) {
    trace->push_back(std::string(name).append(std::to_string(msg.wParam)));
    if (consume) *handled = true;
    if (action) action();
  }
  std::vector<std::string> *trace;
  std::string name;
  bool consume;
  std::function<void()> action;
};

RCPtr<EventLoop::MessageNode> HookNode(UninitCaller *root, const RCPtr<Hook> &hook) {
  return RCPtr<EventLoop::MessageNode>(new EventLoop::MessageNode(
      root, MakeDelegate<void(const tagMSG &, bool *)>(hook.get(), &Hook::Take)));
}

void Post(UINT message, WPARAM w = 0) { PostThreadMessageW(GetCurrentThreadId(), message, w, 0); }

// Timer procedures reach the loop under test through this.
EventLoop *current = nullptr;
int timerCalls = 0;
void CALLBACK StopOnTimer(HWND, UINT, UINT_PTR, DWORD) {
  ++timerCalls;
  Post(WM_USER, 99);  // arrives during the drain, which has stopped by then
  current->Stop();
}

TEST_F(EventLoopTest, WithoutHandlesItStillRunsOnInput) {
  current = loop.get();
  timerCalls = 0;
  SetTimer(nullptr, 0, 250, &StopOnTimer);
  loop->Run();
  EXPECT_EQ(timerCalls, 1);
  EXPECT_EQ(NowMs(), 250);
}

TEST_F(EventLoopTest, StopInsideADispatchedMessageEndsWithoutAnotherBlockingWait) {
  current = loop.get();
  timerCalls = 0;
  SetTimer(nullptr, 0, 100, &StopOnTimer);
  SetTimer(nullptr, 0, 10000, &StopOnTimer);  // a blocking wait would move time to it
  loop->Run();
  EXPECT_EQ(timerCalls, 1);
  EXPECT_EQ(NowMs(), 100);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "the drain stopped with the flag";
  EXPECT_EQ(msg.wParam, 99u);
}

TEST_F(EventLoopTest, ConsumingHookKeepsTheMessageFromTranslateAndDispatch) {
  // A key that is translated posts WM_CHAR: its arrival shows TranslateMessage ran.
  RCPtr<Hook> keys(new Hook(&trace, "key", true));
  RCPtr<Hook> chars(new Hook(&trace, "char", true));
  loop->AddMessage(HookNode(root.get(), keys), WM_KEYDOWN);
  loop->AddMessage(HookNode(root.get(), chars), WM_CHAR);
  PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, '1', 0);
  loop->Run();  // ends when the queue and the clock have nothing left
  EXPECT_EQ(trace, std::vector<std::string>{"key49"});

  trace.clear();
  keys->consume = false;
  PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, '2', 0);
  loop->Run();
  EXPECT_EQ(trace, (std::vector<std::string>{"key50", "char50"}));
}

TEST_F(EventLoopTest, SecondHookForAnIdIsRefused) {
  RCPtr<Hook> first(new Hook(&trace, "first", true));
  RCPtr<Hook> second(new Hook(&trace, "second", true));
  loop->AddMessage(HookNode(root.get(), first), WM_USER);
  EXPECT_FALSE(record.Raised());
  loop->AddMessage(HookNode(root.get(), second), WM_USER);
  EXPECT_STREQ(record->file, "EventLoop");
  EXPECT_EQ(record->line, 30);
  EXPECT_STREQ(record->function, "EventLoop::AddMessage");
  Post(WM_USER, 1);
  loop->Run();
  EXPECT_EQ(trace, std::vector<std::string>{"first1"});
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
  EXPECT_STREQ(record->function, "EventLoop::AddEventHandle");
  EXPECT_EQ(record->line, 36);
  record.Clear();
  loop->AddEventHandle(nodes[5], extra);  // with 64 present even a replacement is refused
  EXPECT_EQ(record->line, 36);
  for (auto &e : events) SetEvent(e->Get());
  loop->Run();  // all 64 are waited on; then nothing is left and the wait fails
  EXPECT_EQ(trace.size(), 64u);
}

TEST_F(EventLoopTest, ANodeAddedAgainGetsTheNewHolder) {
  auto node = Node("n");
  auto quiet = NewEvent();
  auto signalled = NewEvent(FALSE, TRUE);
  loop->AddEventHandle(node, quiet);
  loop->AddEventHandle(node, signalled);
  loop->Run();
  EXPECT_EQ(trace, std::vector<std::string>{"n"});
}

TEST_F(EventLoopTest, HandlesAddedWhileRunningWaitForTheNextRun) {
  auto late = NewEvent(FALSE, TRUE);
  auto first = NewEvent(FALSE, TRUE);
  struct Adder : virtual CRefCounter {
    void Add() { loop->AddEventHandle(node, event); }
    EventLoop *loop;
    RCPtr<EventLoopNode> node;
    RCPtr<EventHandleHolder> event;
  };
  RCPtr<Adder> a(new Adder);
  a->loop = loop.get();
  a->node = Node("late");
  a->event = late;
  loop->AddEventHandle(RCPtr<EventLoopNode>(new EventLoopNode(
                           root.get(), MakeDelegate<void()>(a.get(), &Adder::Add))),
                       first);
  loop->Run();
  EXPECT_TRUE(trace.empty());
  loop->Run();
  EXPECT_EQ(trace, std::vector<std::string>{"late"});
}

// Both handles stay signalled (their nodes signal them again) and each
// service posts a message: services and message checks alternate, the first
// node in map order is the one serviced, and every message is handled before
// the next service.
TEST_F(EventLoopTest, ContinuouslySignalledHandlesAlternateWithMessages) {
  struct Resignal : virtual CRefCounter {
    void Service(std::string name, HANDLE self) {
      trace->push_back(name);
      SetEvent(self);
      PostThreadMessageW(GetCurrentThreadId(), WM_USER, ++services, 0);
      if (services == 6) loop->Stop();
    }
    std::vector<std::string> *trace;
    EventLoop *loop;
    WPARAM services = 0;
  };
  RCPtr<Resignal> r(new Resignal);
  r->trace = &trace;
  r->loop = loop.get();
  auto e1 = NewEvent(), e2 = NewEvent();
  RCPtr<EventLoopNode> n1(new EventLoopNode(root.get(), MakeDelegate<void()>(r.get(), &Resignal::Service,
                                                                             std::string("a"), e1->Get())));
  RCPtr<EventLoopNode> n2(new EventLoopNode(root.get(), MakeDelegate<void()>(r.get(), &Resignal::Service,
                                                                             std::string("b"), e2->Get())));
  loop->AddEventHandle(n1, e1);
  loop->AddEventHandle(n2, e2);
  RCPtr<Hook> messages(new Hook(&trace, "m", true));
  loop->AddMessage(HookNode(root.get(), messages), WM_USER);
  SetEvent(e1->Get());
  SetEvent(e2->Get());
  loop->Run();
  const std::string first = n1.get() < n2.get() ? "a" : "b";
  EXPECT_EQ(trace, (std::vector<std::string>{first, "m1", first, "m2", first, "m3", first, "m4", first,
                                             "m5", first}));
  EXPECT_EQ(NowMs(), 0);
}

TEST_F(EventLoopTest, AfterTearDownNodesAndHooksCallNothing) {
  current = loop.get();
  timerCalls = 0;
  auto event = NewEvent(FALSE, TRUE);
  loop->AddEventHandle(Node("n"), event);
  RCPtr<Hook> timers(new Hook(&trace, "timer", true));
  loop->AddMessage(HookNode(root.get(), timers), WM_TIMER);
  root.reset();
  SetTimer(nullptr, 0, 100, &StopOnTimer);
  loop->Run();
  EXPECT_TRUE(trace.empty());
  EXPECT_STREQ(record->file, "Delegate_N1");
  EXPECT_EQ(timerCalls, 1) << "an unbound hook leaves the message to dispatch";
}

TEST_F(EventLoopTest, FailedWaitEndsRun) {
  auto event = NewEvent(FALSE, TRUE);
  loop->AddEventHandle(Node("n"), event);
  CloseHandle(event->Get());
  loop->Run();
  EXPECT_TRUE(trace.empty());
}

TEST_F(EventLoopTest, EmptyHolderEndsRunThroughTheFailedWait) {
  loop->AddEventHandle(Node("n"), RCPtr<EventHandleHolder>());
  loop->Run();
  EXPECT_TRUE(trace.empty());
  EXPECT_EQ(record->line, 278);
}

TEST_F(EventLoopTest, QuitMessageIsNotSpecial) {
  current = loop.get();
  timerCalls = 0;
  PostQuitMessage(0);
  SetTimer(nullptr, 0, 50, &StopOnTimer);
  loop->Run();
  EXPECT_EQ(timerCalls, 1);
  EXPECT_EQ(NowMs(), 50);
}

}  // namespace
