#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "general/EventLoop.h"
#include "general/UninitCaller.h"
#include "kernel/Platform.h"

// A fresh platform on the virtual clock, a tear-down root, a loop and a
// trace for each test.
class LoopFixture : public ::testing::Test {
 protected:
  LoopFixture() { platform::Reset(platform::ClockKind::Virtual); }
  ~LoopFixture() override {
    loop.Reset();
    root.reset();
    platform::Reset(platform::ClockKind::Real);
  }

  static long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(platform::Now()).count();
  }

  RCPtr<EventLoopNode> Node(const std::string &name) {
    return RCPtr<EventLoopNode>(new EventLoopNode(
        root.get(), MakeDelegate<void()>(this, &LoopFixture::Log, name)));
  }
  static RCPtr<EventHandleHolder> NewEvent(BOOL manualReset = FALSE, BOOL signalled = FALSE) {
    return RCPtr<EventHandleHolder>(new EventHandleHolder(CreateEventW(nullptr, manualReset, signalled, nullptr)));
  }
  void Log(std::string what) { trace.push_back(std::move(what)); }

  ScopedAssertionRecord record;
  std::unique_ptr<UninitCaller> root = std::make_unique<UninitCaller>();
  RCPtr<EventLoop> loop{new EventLoop};
  std::vector<std::string> trace;
};
