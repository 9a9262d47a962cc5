#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>

#include "kernel/WakeSignal.h"

namespace platform {

// Time on the phone's clock, counted from the phone's start.
using Time = std::chrono::nanoseconds;

// The tick count (milliseconds, wrapping at 2^32) at a clock time.
inline uint32_t TickCount(Time t) {
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(t).count());
}

// The one time source of the platform. Every timer, driver occurrence and
// tick count reads it, so the whole device runs either live or simulated.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual Time Now() const = 0;

  // Called by a wait that found nothing ready, with the platform lock held,
  // to let time pass until `until` (none: until `wake` is notified). It may
  // return early; the lock is held again on return. Returns false when
  // nothing can ever end the wait.
  virtual bool WaitUntil(std::unique_lock<std::mutex> &lock, WakeSignal &wake, std::optional<Time> until) = 0;
};

}  // namespace platform
