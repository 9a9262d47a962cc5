#pragma once

#include "kernel/Clock.h"

namespace platform {

// The monotonic clock of the host. A wait releases the platform lock and
// sleeps on the wake signal until its deadline or a notification, without
// polling.
class RealClock : public Clock {
 public:
  RealClock();
  Time Now() const override;
  bool WaitUntil(std::unique_lock<std::mutex> &lock, WakeSignal &wake, std::optional<Time> until) override;

 private:
  std::chrono::steady_clock::time_point start_;
};

}  // namespace platform
