#pragma once

#include "kernel/Clock.h"

namespace platform {

// Simulated time, starting at 0. It moves only when the program waits with
// nothing ready: straight to the next moment something can happen. Other
// threads are not waited for, so a simulation must be driven by occurrences
// and timers alone.
class VirtualClock : public Clock {
 public:
  Time Now() const override { return now_; }
  bool WaitUntil(std::unique_lock<std::mutex> &lock, WakeSignal &wake, std::optional<Time> until) override;

 private:
  Time now_{0};
};

}  // namespace platform
