#include "kernel/Core.h"

#include "kernel/RealClock.h"
#include "kernel/VirtualClock.h"

namespace platform {

namespace {

std::unique_ptr<Clock> MakeClock(ClockKind kind) {
  if (kind == ClockKind::Virtual) return std::make_unique<VirtualClock>();
  return std::make_unique<RealClock>();
}

}  // namespace

Core::Core(ClockKind clock) : clock_(MakeClock(clock)) {}

// The actions are destroyed after the lock is released: their captures may
// call back into the platform.
void Core::DropOccurrences() {
  Scheduler dropped;
  std::lock_guard lock(mutex);
  std::swap(dropped, scheduler);
}

bool Core::RunDue(std::unique_lock<std::mutex> &lock) {
  for (DriverSignal *signal : signals_) {
    if (!signal->TakeRaised()) continue;
    lock.unlock();
    {
      const WakeSignal::Busy busy;
      signal->Run();
    }
    lock.lock();
    return true;
  }
  std::function<void()> action;
  if (!scheduler.TakeDue(clock_->Now(), &action)) return false;
  lock.unlock();
  {
    const WakeSignal::Busy busy;
    action();
    action = nullptr;  // whatever it captured goes before the lock is retaken
  }
  lock.lock();
  return true;
}

}  // namespace platform
