#pragma once

#include "kernel/Clock.h"

namespace platform {

// The monotonic clock of the host. A wait sleeps on the condition variable
// until its deadline or until another thread signals, without polling.
class RealClock : public Clock {
 public:
  RealClock();
  Time Now() const override;
  bool WaitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &wake,
                 std::optional<Time> until) override;

 private:
  std::chrono::steady_clock::time_point start_;
};

}  // namespace platform
