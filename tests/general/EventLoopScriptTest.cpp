// The loop's exact conversation with the platform, against a scripted one.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "ScriptedPlatform.h"
#include "general/EventLoop.h"

namespace {

using Calls = std::vector<std::string>;

enum class OnDispatch { Nothing, Post0x401, Stop };

struct Case {
  const char *name;
  bool handles;                              // two nodes, "a" on handle 10 and "b" on 20
  std::vector<UINT> queue;                   // messages waiting before Run
  std::vector<DWORD> waits;                  // answers of the waits, then WAIT_FAILED
  std::vector<std::pair<UINT, bool>> hooks;  // message id, consumes
  OnDispatch onDispatch;
  bool nodeAStops;
  Calls expected;
};

// Names the case in test listings, instead of its bytes (heap addresses among them).
void PrintTo(const Case &c, std::ostream *out) { *out << c.name; }

class EventLoopScriptTest : public ::testing::TestWithParam<Case> {
 public:
  EventLoopScriptTest() { scripted::Reset(); }

  void AddTwoHandles() {
    for (int i = 0; i < 2; ++i)
      nodes.push_back(new EventLoopNode(&root, MakeDelegate<void()>(this, &EventLoopScriptTest::Service, &labels[i])));
    const bool swapped = nodes[1].get() < nodes[0].get();  // "a" comes first in map order
    labels[swapped ? 1 : 0] = "node a";
    labels[swapped ? 0 : 1] = "node b";
    if (swapped) std::swap(nodes[0], nodes[1]);
    for (int i = 0; i < 2; ++i)
      loop->AddEventHandle(nodes[i], new EventHandleHolder(reinterpret_cast<HANDLE>(0x10 * (i + 1))));
  }
  void Service(const std::string *label) {
    scripted::calls.push_back(*label);
    if (*label == "node a" && GetParam().nodeAStops) loop->Stop();
  }
  void Hook(const tagMSG &m, bool *handled, bool consume) {
    scripted::calls.push_back(std::string("hook ").append(std::to_string(m.message)));
    *handled = consume;
  }

  UninitCaller root;
  RCPtr<EventLoop> loop{new EventLoop};
  std::vector<RCPtr<EventLoopNode>> nodes;
  std::string labels[2];
};

TEST_P(EventLoopScriptTest, Conversation) {
  const Case &c = GetParam();
  if (c.handles) AddTwoHandles();
  for (auto [id, consume] : c.hooks)
    loop->AddMessage(new EventLoop::MessageNode(
                         &root, MakeDelegate<void(const tagMSG &, bool *)>(this, &EventLoopScriptTest::Hook, consume)),
                     id);
  for (UINT m : c.queue) scripted::queue.push_back(scripted::Message(m));
  scripted::waitResults.assign(c.waits.begin(), c.waits.end());
  scripted::onDispatch = [this, &c](const MSG &m) {
    if (c.onDispatch == OnDispatch::Stop) loop->Stop();
    if (c.onDispatch == OnDispatch::Post0x401 && m.message == 0x400)
      scripted::queue.push_back(scripted::Message(0x401));
  };
  loop->Run();
  EXPECT_EQ(scripted::calls, c.expected);
}

const Case kCases[] = {
    {"NothingToDoWaitsEndlesslyForInput", false, {}, {}, {}, OnDispatch::Nothing, false,
     {"peek(keep)=none", "wait(null INF 7f 0)"}},
    // After a service the loop only polls the queue before it waits on the handles again.
    {"ServiceIsFollowedByAQueuePoll", true, {}, {WAIT_OBJECT_0 + 1, WAIT_TIMEOUT, WAIT_OBJECT_0}, {},
     OnDispatch::Nothing, false,
     {"peek(keep)=none", "wait([10 20] INF 7f 0)", "node b", "peek(keep)=none", "wait(null 0 7f 0)",
      "peek(keep)=none", "wait([10 20] INF 7f 0)", "node a", "peek(keep)=none", "wait(null 0 7f 0)"}},
    // The poll's WAIT_OBJECT_0 means input, not the first handle.
    {"InputFromTheQueuePollServicesNoNode", true, {}, {WAIT_OBJECT_0, WAIT_OBJECT_0, WAIT_TIMEOUT}, {},
     OnDispatch::Nothing, false,
     {"peek(keep)=none", "wait([10 20] INF 7f 0)", "node a", "peek(keep)=none", "wait(null 0 7f 0)",
      "peek(keep)=none", "wait([10 20] INF 7f 0)", "peek(keep)=none", "wait([10 20] INF 7f 0)"}},
    {"MessagesAreFollowedByAHandlePollWithoutWakeMask", true, {0x400, 0x401}, {WAIT_TIMEOUT}, {},
     OnDispatch::Nothing, false,
     {"peek(keep)=1024", "peek(remove)=1024", "translate 1024", "dispatch 1024", "peek(remove)=1025",
      "translate 1025", "dispatch 1025", "peek(remove)=none", "wait([10 20] 0 0 0)", "peek(keep)=none",
      "wait([10 20] INF 7f 0)"}},
    {"MessagePostedDuringTheDrainIsHandledInIt", false, {0x400}, {WAIT_TIMEOUT}, {}, OnDispatch::Post0x401, false,
     {"peek(keep)=1024", "peek(remove)=1024", "translate 1024", "dispatch 1024", "peek(remove)=1025",
      "translate 1025", "dispatch 1025", "peek(remove)=none", "wait(null 0 0 0)", "peek(keep)=none",
      "wait(null INF 7f 0)"}},
    {"ConsumingHookSkipsTranslateAndDispatch", false, {0x400, 0x401}, {WAIT_TIMEOUT}, {{0x400, true}, {0x401, false}},
     OnDispatch::Nothing, false,
     {"peek(keep)=1024", "peek(remove)=1024", "hook 1024", "peek(remove)=1025", "hook 1025", "translate 1025",
      "dispatch 1025", "peek(remove)=none", "wait(null 0 0 0)", "peek(keep)=none", "wait(null INF 7f 0)"}},
    {"StopDuringDispatchEndsAfterAPollingWait", true, {0x400, 0x401}, {WAIT_TIMEOUT}, {}, OnDispatch::Stop, false,
     {"peek(keep)=1024", "peek(remove)=1024", "translate 1024", "dispatch 1024", "wait([10 20] 0 0 0)"}},
    {"StopInANodeEndsRightAfterIt", true, {}, {WAIT_OBJECT_0}, {}, OnDispatch::Nothing, true,
     {"peek(keep)=none", "wait([10 20] INF 7f 0)", "node a"}},
};

INSTANTIATE_TEST_SUITE_P(Loop, EventLoopScriptTest, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
