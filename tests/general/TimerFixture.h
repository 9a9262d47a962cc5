#pragma once

#include "LoopFixture.h"
#include "general/TimerDefault_Manager.h"
#include "general/TimerNode.h"
#include "general/TimerWM_Manager.h"

// The timer service as start-up wires it, on its own root (`providerRoot`) so
// that tests can tear either side down first. Expiries reach the manager
// through a static timer procedure, as in the program.
class TimerFixture : public LoopFixture {
 protected:
  TimerFixture() {
    current = manager.get();
    defaults = new TimerDefault_Manager(
        providerRoot.get(), MakeDelegate<void(RCPtr<TimerDefault_Manager::Calls> *)>(
                                manager.get(), &TimerWM_Manager::CreateTimerCallsFn));
    loop->AddMessage(HookDoing([this](const tagMSG &, bool *handled) {
                       *handled = true;
                       loop->Stop();
                     }),
                     kStop);
  }
  ~TimerFixture() override {
    defaults.Reset();
    providerRoot.reset();
    manager.Reset();
    current = nullptr;
  }

  static void CALLBACK StaticTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    current->OnTimer(static_cast<unsigned int>(id));
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
  static inline TimerWM_Manager *current = nullptr;

  std::unique_ptr<UninitCaller> providerRoot = std::make_unique<UninitCaller>();
  RCPtr<TimerWM_Manager> manager{new TimerWM_Manager(providerRoot.get(), &StaticTimerProc)};
  RCPtr<TimerDefault_Manager> defaults;
};
