#pragma once

#include <atomic>
#include <thread>

namespace platform::wave {

// Lets a sound server's thread call into a driver only while the gate is
// open, and tells the program thread, once Close returns, that no call is
// inside and none gets in until it is opened again, whatever the server's
// own pause promises (SDL's pipewire backend checks its pause flag before
// taking its lock; a JACK client cannot be paused at all).
//
// Enter and Leave take no lock and never wait: the audio thread's side.
// Open and Close belong to one other thread; Close waits only for a call
// already inside, which never waits itself.
class CallbackGate {
 public:
  // False while closed: the caller then does nothing. After true, Leave.
  bool Enter() {
    inside_.fetch_add(1, std::memory_order_seq_cst);
    if (open_.load(std::memory_order_seq_cst)) return true;
    Leave();
    return false;
  }
  // Release: what the call wrote is seen by the thread that closes the gate.
  void Leave() { inside_.fetch_sub(1, std::memory_order_release); }

  void Open() { open_.store(true, std::memory_order_seq_cst); }
  void Close() {
    open_.store(false, std::memory_order_seq_cst);
    while (inside_.load(std::memory_order_acquire) != 0) std::this_thread::yield();
  }

 private:
  std::atomic<bool> open_{false};
  std::atomic<int> inside_{0};
  static_assert(std::atomic<int>::is_always_lock_free);
};

}  // namespace platform::wave
