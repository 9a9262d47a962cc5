#include "kernel/RealClock.h"

namespace platform {

RealClock::RealClock() : start_(std::chrono::steady_clock::now()) {}

Time RealClock::Now() const {
  return std::chrono::duration_cast<Time>(std::chrono::steady_clock::now() - start_);
}

// A notification made after the caller's checks, before the sleep, is kept
// by the signal and ends the sleep at once: none is lost with the lock
// released.
bool RealClock::WaitUntil(std::unique_lock<std::mutex> &lock, WakeSignal &wake, std::optional<Time> until) {
  std::optional<WakeSignal::Deadline> deadline;
  if (until) deadline = start_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(*until);
  lock.unlock();
  wake.Wait(deadline);
  lock.lock();
  return true;
}

}  // namespace platform
