#pragma once

#include <atomic>
#include <functional>

namespace platform {

class Core;

// A driver thread's way to have work done on the program thread without a
// lock (an audio callback must not take the platform's lock, which the
// program thread holds while it checks its waits).
//
// Raise, from any thread, marks the signal and wakes the program's wait: it
// takes no lock, does not allocate and is async-signal-safe. The action then
// runs once on the program thread inside the platform's waits and peeks, as
// an occurrence due now would; several raises before it runs make one run.
// A raise made while the action runs makes it run again.
//
// Created and destroyed on the program thread of the running phone, never by
// its own action, and destroyed before that phone. The thread that raises it
// must have stopped doing so before it is destroyed.
class DriverSignal {
 public:
  explicit DriverSignal(std::function<void()> action);
  ~DriverSignal();
  DriverSignal(const DriverSignal &) = delete;
  DriverSignal &operator=(const DriverSignal &) = delete;

  void Raise();

  // For the platform's wait: clears the mark and tells whether it was set.
  bool TakeRaised() { return raised_.exchange(false, std::memory_order_acq_rel); }
  void Run() { action_(); }

 private:
  std::function<void()> action_;
  Core &core_;
  std::atomic<bool> raised_{false};
  static_assert(std::atomic<bool>::is_always_lock_free);
};

}  // namespace platform
