#pragma once

#include <chrono>
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
class WakeSignal {
 public:
  using Deadline = std::chrono::steady_clock::time_point;

  WakeSignal();
  ~WakeSignal();
  WakeSignal(const WakeSignal &) = delete;
  WakeSignal &operator=(const WakeSignal &) = delete;

  void Notify();
  // Sleeps until a notification or `deadline` (none: no end); consumes the
  // notifications made so far.
  void Wait(std::optional<Deadline> deadline);

 private:
  int fd_;
};

}  // namespace platform
