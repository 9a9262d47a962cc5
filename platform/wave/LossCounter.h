#pragma once

#include <atomic>
#include <cstdint>

#include "wave/DeviceQueue.h"

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
// take in time, silence played while written sound was late, and the times
// each device went away with the samples of silence (capture) or of sound
// played to nothing (playback) that stood in for it.
struct LiveLossCounters {
  LossCounter overruns;
  LossCounter underruns;
  LossCounter captureAway;
  LossCounter playbackAway;

  LossCounter &Away(Direction d) { return d == Direction::Capture ? captureAway : playbackAway; }
};

}  // namespace platform::wave
