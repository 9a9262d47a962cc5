#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "general/EventLoop.h"
#include "general/UninitCaller.h"
#include "kernel/Platform.h"
#include "phone/Phone.h"

// A phone of its own on the virtual clock, a tear-down root, a loop and a
// trace for each test.
class LoopFixture : public ::testing::Test {
 protected:
  ~LoopFixture() override {
    loop.Reset();
    root.reset();
  }

  static long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(platform::Now()).count();
  }
  static void Post(UINT message, WPARAM w = 0) { PostThreadMessageW(GetCurrentThreadId(), message, w, 0); }

  // A delegate to any function, which the fixture keeps alive.
  template <class Sig>
  Delegate<Sig> Do(std::function<Sig> f) {
    RCPtr<Lambda<Sig>> lambda(new Lambda<Sig>);
    lambda->f = std::move(f);
    kept.push_back(lambda);
    return MakeDelegate<Sig>(lambda.get(), &Lambda<Sig>::Call);
  }
  RCPtr<EventLoopNode> NodeDoing(std::function<void()> f) { return new EventLoopNode(root.get(), Do(std::move(f))); }
  RCPtr<EventLoopNode> Node(const std::string &name) {
    return NodeDoing([this, name] { Log(name); });
  }
  RCPtr<EventLoop::MessageNode> HookDoing(std::function<void(const tagMSG &, bool *)> f) {
    return new EventLoop::MessageNode(root.get(), Do(std::move(f)));
  }
  // A hook that logs the message's wParam after `name` and consumes it.
  RCPtr<EventLoop::MessageNode> Hook(const std::string &name) {
    return HookDoing([this, name](const tagMSG &m, bool *handled) {
      Log(name + std::to_string(m.wParam));
      *handled = true;
    });
  }
  static RCPtr<EventHandleHolder> NewEvent(BOOL manualReset = FALSE, BOOL signalled = FALSE) {
    return RCPtr<EventHandleHolder>(new EventHandleHolder(CreateEventW(nullptr, manualReset, signalled, nullptr)));
  }
  void Log(std::string what) { trace.push_back(std::move(what)); }

  platform::Phone phone{platform::ClockKind::Virtual};
  ScopedAssertionRecord record;
  std::vector<RCPtr<CRefCounter>> kept;
  std::unique_ptr<UninitCaller> root = std::make_unique<UninitCaller>();
  RCPtr<EventLoop> loop{new EventLoop};
  std::vector<std::string> trace;

 private:
  template <class Sig>
  struct Lambda;
  template <class R, class... A>
  struct Lambda<R(A...)> : virtual CRefCounter {
    R Call(A... a) { return f(a...); }
    std::function<R(A...)> f;
  };
};
