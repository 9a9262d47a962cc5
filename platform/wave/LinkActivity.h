#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "kernel/Clock.h"
#include "wave/LiveTimings.h"

namespace platform::wave {

// How much sound goes through a live link, for its supervisor's watch: the
// link's audio thread counts what it exchanges, the program thread looks now
// and then and tells whether the link has gone silent for too long.
class LinkActivity {
 public:
  // Audio thread: `count` samples went through; true for the first since the
  // link was started.
  bool Exchanged(size_t count) {
    exchanged_.fetch_add(count, std::memory_order_relaxed);
    return greet_.load(std::memory_order_relaxed) && greet_.exchange(false, std::memory_order_relaxed);
  }

  // Program thread, from here on. The link is started at `now`.
  void Started(Time now) {
    started_ = seen_ = exchanged_.load(std::memory_order_relaxed);
    greet_.store(true, std::memory_order_relaxed);
    movedAt_ = startedAt_ = now;
  }
  // Whether sound went through since the link was started.
  bool Sounded() const { return exchanged_.load(std::memory_order_relaxed) != started_; }
  // A look at `now`: true when sound went through since the last look. A
  // link not in use is not expected to move: its silence does not count.
  bool Moved(Time now, bool inUse);
  // When sound last went through (or the link started, or was not in use).
  Time MovedAt() const { return movedAt_; }
  // The silence after which the link is lost, at `now`, or zero while it
  // is within it. A server may take its first sound and then pause while it
  // settles (a PulseAudio null sink asks for more only two seconds on): the
  // start time holds until the link has sounded and run that long, the
  // stall time after.
  std::chrono::milliseconds Silence(Time now, const LiveTimings &timings) const;

 private:
  std::atomic<uint64_t> exchanged_{0};
  std::atomic<bool> greet_{false};
  uint64_t started_ = 0;  // exchanged_ when the link was started
  uint64_t seen_ = 0;     // exchanged_ at the last look that saw it move
  Time movedAt_{};
  Time startedAt_{};
};

}  // namespace platform::wave
