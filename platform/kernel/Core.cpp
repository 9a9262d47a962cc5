#include "kernel/Core.h"

#include "kernel/RealClock.h"
#include "kernel/VirtualClock.h"
#include "win/kernel.h"

namespace platform {

Core &Core::Get() {
  static Core core;
  return core;
}

Core::Core() : programThread(GetCurrentThreadId()), clock_(std::make_unique<RealClock>()) {}

bool Core::RunDue(std::unique_lock<std::mutex> &lock) {
  for (DriverSignal *signal : signals_) {
    if (!signal->TakeRaised()) continue;
    lock.unlock();
    signal->Run();
    lock.lock();
    return true;
  }
  std::function<void()> action;
  if (!scheduler.TakeDue(clock_->Now(), &action)) return false;
  lock.unlock();
  action();
  action = nullptr;  // whatever it captured goes before the lock is retaken
  lock.lock();
  return true;
}

void Core::Reset(ClockKind kind) {
  // Dropped actions are destroyed after the lock is released: their captures
  // may call back into the platform.
  Scheduler dropped;
  std::lock_guard lock(mutex);
  std::swap(dropped, scheduler);
  signals_.clear();
  faults.Clear();
  events.Clear();
  blockedWaits = 0;
  programThread = GetCurrentThreadId();
  if (kind == ClockKind::Virtual)
    clock_ = std::make_unique<VirtualClock>();
  else
    clock_ = std::make_unique<RealClock>();
  for (auto &hook : resetHooks_) hook();
}

}  // namespace platform
