#pragma once

#include "LoopFixture.h"
#include "TestTimerService.h"
#include "general/TimerNode.h"

// The timer service as start-up wires it, on its own root (`providerRoot`) so
// that tests can tear either side down first.
class TimerFixture : public LoopFixture {
 protected:
  TimerFixture() {
    loop->AddMessage(HookDoing([this](const tagMSG &, bool *handled) {
                       *handled = true;
                       loop->Stop();
                     }),
                     kStop);
  }
  ~TimerFixture() override {
    timers.defaults.Reset();
    providerRoot.reset();
    timers.manager.Reset();
  }

  // Runs the loop for `ms` of simulated time; expiries due at the very end
  // are left for later.
  void RunFor(long long ms) {
    platform::ScheduleAt(platform::Now() + std::chrono::milliseconds(ms),
                         [] { PostThreadMessageW(GetCurrentThreadId(), kStop, 0, 0); });
    loop->Run();
  }

  RCPtr<TimerNode> NewNode(const std::string &name, UninitCaller *on = nullptr) {
    RCPtr<TimerNode> node(new TimerNode(on ? on : root.get()));
    node->SetHandler(Do<void()>([this, name] { Log(name); }));
    return node;
  }

  static constexpr UINT kStop = WM_USER + 77;

  std::unique_ptr<UninitCaller> providerRoot = std::make_unique<UninitCaller>();
  TestTimerService timers{providerRoot.get()};
};
