#pragma once

// The platform timer service as start-up builds it, for the tests and
// benchmarks below the application (which reaches its own through Globals):
// a TimerWM_Manager whose expiries a static timer procedure passes on, and
// the TimerDefault_Manager from which every TimerNode made afterwards gets its
// calls, both registered with `root`. One at a time; program thread.
#include "general/TimerDefault_Manager.h"
#include "general/TimerWM_Manager.h"

class TestTimerService {
 public:
  explicit TestTimerService(UninitCaller *root)
      : manager(new TimerWM_Manager(root, &Proc)),
        defaults(new TimerDefault_Manager(root, MakeDelegate<void(RCPtr<TimerDefault_Manager::Calls> *)>(
                                                    manager.get(), &TimerWM_Manager::CreateTimerCallsFn))) {
    current_ = manager.get();
  }
  ~TestTimerService() { current_ = nullptr; }
  TestTimerService(const TestTimerService &) = delete;
  TestTimerService &operator=(const TestTimerService &) = delete;

  RCPtr<TimerWM_Manager> manager;
  RCPtr<TimerDefault_Manager> defaults;

 private:
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD) {
    if (current_) current_->OnTimer(static_cast<unsigned int>(id));
  }

  static inline TimerWM_Manager *current_ = nullptr;
};
