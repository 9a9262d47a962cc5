#pragma once

#include <cstdint>
#include <functional>

#include "kernel/Platform.h"
#include "wave/DeviceQueue.h"

namespace platform::wave {

// A device's buffers done back to back at the pace of the platform clock: a
// run of buffers from an origin, the front one due exactly when the samples
// of the run so far, its own included, have passed (n/22050 s for n
// samples). What a buffer's being done means (recorded, played, heard as
// silence, played to nothing) is the owner's: it is told when the front
// buffer is due, and tells the pacer what it completed. Program thread only.
class ClockPacer {
 public:
  explicit ClockPacer(std::function<void()> due) : due_(std::move(due)) {}
  ~ClockPacer() { Cancel(); }
  ClockPacer(const ClockPacer &) = delete;
  ClockPacer &operator=(const ClockPacer &) = delete;

  // A new run whose samples are counted from `origin`.
  void Begin(Time origin);
  // Calls `due` when the front buffer of `device` is due; nothing while none
  // is queued.
  void Schedule(const DeviceQueue &device);
  bool Scheduled() const { return pending_ != 0; }
  // Cancels the call; tells whether it was scheduled.
  bool Cancel();
  // The front buffer, of `samples`, is done: the run goes on after it.
  void Complete(uint32_t samples) { done_ += samples; }
  // The queue ran dry for a while: the run goes on from now, the samples
  // meanwhile unheard; returns how many.
  uint64_t CatchUp();
  // Samples the clock has passed by `at` beyond the run's complete buffers.
  uint64_t Owed(Time at) const;
  // The same now, as many as `front` holds at most.
  uint32_t HeardOfFront(const WAVEHDR *front) const;
  // The phone dropped its occurrences: nothing is scheduled any more.
  void Abandon() { pending_ = 0; }

 private:
  std::function<void()> due_;
  Time origin_{};
  uint64_t done_ = 0;  // samples of the run's complete buffers
  OccurrenceId pending_ = 0;
};

}  // namespace platform::wave
