#pragma once

#include <atomic>
#include <cstdint>

namespace platform::wave {

// How often a live device lost sound, and how many samples. The audio
// thread adds without a lock; the program thread reads.
struct LossCounter {
  std::atomic<uint64_t> times{0};
  std::atomic<uint64_t> samples{0};

  void Add(uint64_t lost) {
    times.fetch_add(1, std::memory_order_relaxed);
    samples.fetch_add(lost, std::memory_order_relaxed);
  }
  static_assert(std::atomic<uint64_t>::is_always_lock_free);
};

// What the phone's live devices lost: captured sound the program did not
// take in time, and silence played while written sound was late.
struct LiveLossCounters {
  LossCounter overruns;
  LossCounter underruns;
};

}  // namespace platform::wave
