#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "kernel/Clock.h"
#include "kernel/DriverSignal.h"
#include "kernel/EventTable.h"
#include "kernel/FaultInjection.h"
#include "kernel/Platform.h"
#include "kernel/Scheduler.h"
#include "kernel/WakeSignal.h"
#include "win/types.h"

namespace platform {

// The phone's kernel: the state every platform module shares, under one
// lock. `wake` is notified, after the lock is released, whenever something
// a blocked wait may be waiting for changes (an event is set, a message
// posted, an occurrence scheduled); it is the one part that needs no lock.
class Core {
 public:
  explicit Core(ClockKind clock);

  std::mutex mutex;
  WakeSignal wake;
  Scheduler scheduler;
  FaultInjection faults;
  EventTable events;
  uint64_t blockedWaits = 0;  // waits that found nothing ready and let time pass
  std::function<void()> idleHook;  // program thread: set and called there only

  Clock &clock() { return *clock_; }
  Time Now() { return clock_->Now(); }

  // Runs the action of a raised driver signal, or else the earliest
  // occurrence due now, with the lock released during the action. False if
  // nothing is due.
  bool RunDue(std::unique_lock<std::mutex> &lock);
  // Driver signals whose actions RunDue runs.
  void AddSignal(DriverSignal *signal) { signals_.push_back(signal); }
  void RemoveSignal(DriverSignal *signal) { std::erase(signals_, signal); }
  // Drops every pending occurrence uncalled (the phone's end).
  void DropOccurrences();

 private:
  std::unique_ptr<Clock> clock_;
  std::vector<DriverSignal *> signals_;
};

}  // namespace platform
