// The loop's exact conversation with the platform, against a scripted one.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ScriptedPlatform.h"
#include "general/EventLoop.h"

namespace {

using Calls = std::vector<std::string>;

class EventLoopScriptTest : public ::testing::Test {
 protected:
  EventLoopScriptTest() { scripted::Reset(); }

  // Two nodes on handles 10 and 20; "a" is the first in the loop's map order.
  void AddTwoHandles() {
    for (int i = 0; i < 2; ++i)
      nodes.push_back(new EventLoopNode(&root, MakeDelegate<void()>(this, &EventLoopScriptTest::LogNode, i)));
    const bool swapped = nodes[1].get() < nodes[0].get();
    labels[swapped ? 1 : 0] = "node a";
    labels[swapped ? 0 : 1] = "node b";
    if (swapped) std::swap(nodes[0], nodes[1]);
    loop->AddEventHandle(nodes[0], RCPtr<EventHandleHolder>(new EventHandleHolder(reinterpret_cast<HANDLE>(0x10))));
    loop->AddEventHandle(nodes[1], RCPtr<EventHandleHolder>(new EventHandleHolder(reinterpret_cast<HANDLE>(0x20))));
  }
  void LogNode(int created) { scripted::calls.push_back(labels[created]); }
  void Hook(UINT id, bool consume) {
    struct H : virtual CRefCounter {
      void Take(const tagMSG &m, bool *handled) {
        scripted::calls.push_back(std::string("hook ").append(std::to_string(m.message)));
        *handled = consume;
      }
      bool consume = false;
    };
    RCPtr<H> h(new H);
    h->consume = consume;
    hooks.push_back(h);
    loop->AddMessage(RCPtr<EventLoop::MessageNode>(new EventLoop::MessageNode(
                         &root, MakeDelegate<void(const tagMSG &, bool *)>(h.get(), &H::Take))),
                     id);
  }

  UninitCaller root;
  RCPtr<EventLoop> loop{new EventLoop};
  std::vector<RCPtr<EventLoopNode>> nodes;
  std::string labels[2];
  std::vector<RCPtr<CRefCounter>> hooks;
};

TEST_F(EventLoopScriptTest, EmptyQueueAndNoHandlesWaitsEndlesslyForInput) {
  loop->Run();
  EXPECT_EQ(scripted::calls, (Calls{"peek(keep)=none", "wait(null INF 7f 0)"}));
}

TEST_F(EventLoopScriptTest, AfterAHandleServiceTheNextWaitOnlyPollsTheQueue) {
  AddTwoHandles();
  scripted::waitResults = {WAIT_OBJECT_0 + 1, WAIT_TIMEOUT, WAIT_OBJECT_0 + 0};
  loop->Run();
  EXPECT_EQ(scripted::calls, (Calls{"peek(keep)=none", "wait([10 20] INF 7f 0)", "node b",
                                    "peek(keep)=none", "wait(null 0 7f 0)",
                                    "peek(keep)=none", "wait([10 20] INF 7f 0)", "node a",
                                    "peek(keep)=none", "wait(null 0 7f 0)"}));
}

TEST_F(EventLoopScriptTest, AfterMessagesTheHandlesArePolledWithoutWakeMask) {
  AddTwoHandles();
  scripted::queue = {scripted::Message(0x400), scripted::Message(0x401)};
  scripted::waitResults = {WAIT_TIMEOUT};
  loop->Run();
  EXPECT_EQ(scripted::calls,
            (Calls{"peek(keep)=1024", "peek(remove)=1024", "translate 1024", "dispatch 1024",
                   "peek(remove)=1025", "translate 1025", "dispatch 1025", "peek(remove)=none",
                   "wait([10 20] 0 0 0)", "peek(keep)=none", "wait([10 20] INF 7f 0)"}));
}

TEST_F(EventLoopScriptTest, MessagePostedDuringTheDrainIsHandledInTheSameDrain) {
  scripted::queue = {scripted::Message(0x400)};
  scripted::onDispatch = [](const MSG &m) {
    if (m.message == 0x400) scripted::queue.push_back(scripted::Message(0x401));
  };
  scripted::waitResults = {WAIT_TIMEOUT};
  loop->Run();
  EXPECT_EQ(scripted::calls,
            (Calls{"peek(keep)=1024", "peek(remove)=1024", "translate 1024", "dispatch 1024",
                   "peek(remove)=1025", "translate 1025", "dispatch 1025", "peek(remove)=none",
                   "wait(null 0 0 0)", "peek(keep)=none", "wait(null INF 7f 0)"}));
}

TEST_F(EventLoopScriptTest, InputReportedByAWaitWithoutHandlesServicesNoNode) {
  AddTwoHandles();
  // After "a" is serviced the wait has no handles; its WAIT_OBJECT_0 means
  // input, not the first handle.
  scripted::waitResults = {WAIT_OBJECT_0, WAIT_OBJECT_0, WAIT_TIMEOUT};
  loop->Run();
  EXPECT_EQ(std::count(scripted::calls.begin(), scripted::calls.end(), "node a"), 1);
  EXPECT_EQ(scripted::calls[4], "wait(null 0 7f 0)");
  EXPECT_EQ(scripted::calls[6], "wait([10 20] INF 7f 0)");
}

TEST_F(EventLoopScriptTest, ConsumingHookSkipsTranslateAndDispatch) {
  Hook(0x400, true);
  Hook(0x401, false);
  scripted::queue = {scripted::Message(0x400), scripted::Message(0x401)};
  scripted::waitResults = {WAIT_TIMEOUT};
  loop->Run();
  EXPECT_EQ(scripted::calls,
            (Calls{"peek(keep)=1024", "peek(remove)=1024", "hook 1024", "peek(remove)=1025", "hook 1025",
                   "translate 1025", "dispatch 1025", "peek(remove)=none", "wait(null 0 0 0)",
                   "peek(keep)=none", "wait(null INF 7f 0)"}));
}

TEST_F(EventLoopScriptTest, StopDuringDispatchEndsAfterAPollingWait) {
  AddTwoHandles();
  scripted::queue = {scripted::Message(0x400), scripted::Message(0x401)};
  scripted::onDispatch = [this](const MSG &) { loop->Stop(); };
  scripted::waitResults = {WAIT_TIMEOUT};
  loop->Run();
  EXPECT_EQ(scripted::calls, (Calls{"peek(keep)=1024", "peek(remove)=1024", "translate 1024", "dispatch 1024",
                                    "wait([10 20] 0 0 0)"}));
}

TEST_F(EventLoopScriptTest, StopInANodeEndsRightAfterIt) {
  struct Stopper : virtual CRefCounter {
    void Fire() {
      scripted::calls.push_back("stopper");
      loop->Stop();
    }
    EventLoop *loop;
  };
  RCPtr<Stopper> s(new Stopper);
  s->loop = loop.get();
  RCPtr<EventLoopNode> node(new EventLoopNode(&root, MakeDelegate<void()>(s.get(), &Stopper::Fire)));
  loop->AddEventHandle(node, RCPtr<EventHandleHolder>(new EventHandleHolder(reinterpret_cast<HANDLE>(0x30))));
  scripted::waitResults = {WAIT_OBJECT_0};
  loop->Run();
  EXPECT_EQ(scripted::calls, (Calls{"peek(keep)=none", "wait([30] INF 7f 0)", "stopper"}));
}

}  // namespace
