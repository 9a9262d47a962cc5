#include "kernel/RealClock.h"

namespace platform {

RealClock::RealClock() : start_(std::chrono::steady_clock::now()) {}

Time RealClock::Now() const {
  return std::chrono::duration_cast<Time>(std::chrono::steady_clock::now() - start_);
}

bool RealClock::WaitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &wake,
                          std::optional<Time> until) {
  if (until)
    wake.wait_until(lock, start_ + *until);
  else
    wake.wait(lock);
  return true;
}

}  // namespace platform
