#pragma once

#include <atomic>
#include <cstdint>

namespace platform::wave {

// How often a live device lost sound, and how many samples. The audio
// thread adds without a lock; the program thread reads and clears.
struct LossCounter {
  std::atomic<uint64_t> times{0};
  std::atomic<uint64_t> samples{0};

  void Add(uint64_t lost) {
    times.fetch_add(1, std::memory_order_relaxed);
    samples.fetch_add(lost, std::memory_order_relaxed);
  }
  void Clear() {
    times = 0;
    samples = 0;
  }
  static_assert(std::atomic<uint64_t>::is_always_lock_free);
};

}  // namespace platform::wave
