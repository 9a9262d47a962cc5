#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace platform {

// Wakes the program thread's wait from any thread without a lock: an eventfd
// that Notify writes and Wait polls. Notify takes no lock, does not allocate
// and is async-signal-safe, so an audio callback or a signal handler may call
// it. A notification is never lost: one made while nobody waits makes the
// next Wait return at once. Wait may also return early with nothing new;
// its caller checks what it waits for again.
//
// One waiter (the program thread); Notify from any thread. Lives as long as
// the process.
//
// The waiter's own notifications are written only while it looks at what it
// waits for and sleeps (a signal handler may run on it then, after its
// looks): anywhere else on that thread (an action its wait runs, the program
// between waits) it looks at everything again before it sleeps, and a write
// would only wake it once more for nothing.
class WakeSignal {
 public:
  using Deadline = std::chrono::steady_clock::time_point;

  WakeSignal();
  ~WakeSignal();
  WakeSignal(const WakeSignal &) = delete;
  WakeSignal &operator=(const WakeSignal &) = delete;

  // The calling thread is the waiter, looking and sleeping, while it lives;
  // after, it is the waiter between waits (or in the action that made a wait
  // of its own).
  class Looking {
   public:
    explicit Looking(const WakeSignal &signal);
    ~Looking();
    Looking(const Looking &) = delete;
    Looking &operator=(const Looking &) = delete;
  };
  // The waiter runs work its wait looks at again afterwards, while it lives.
  class Busy {
   public:
    Busy();
    ~Busy();
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

   private:
    bool wasLooking_;
  };

  void Notify();
  // Sleeps until a notification or `deadline` (none: no end); consumes the
  // notifications made so far.
  void Wait(std::optional<Deadline> deadline);

 private:
  int fd_;
  uint64_t id_;  // never reused, unlike an address
};

}  // namespace platform
