#pragma once

#include <cstdint>

#include "kernel/Platform.h"
#include "wave/DeviceQueue.h"

namespace platform::wave {

// What the clock-paced drivers share: a run of buffers done back to back
// from an origin on the platform clock, the front one exactly when the
// samples of the run so far, its own included, have passed (n/22050 s for n
// samples). Program thread only.
class PacedDriver : public WaveDriver {
 public:
  ~PacedDriver() override;
  void OnAbandoned() override { pending_ = 0; }

 protected:
  // A new run begins now.
  void BeginRun();
  // Calls FrontDue when the front buffer is done; nothing while none is queued.
  void ScheduleFront();
  bool FrontScheduled() const { return pending_ != 0; }
  // Cancels FrontDue; tells whether it was scheduled.
  bool CancelFront();
  // Samples heard since the run's last complete buffer, as many as the front buffer holds at most.
  uint32_t HeardOfFront(const WAVEHDR *front) const;
  // The front buffer is due; `done_` has not counted it yet.
  virtual void FrontDue() = 0;

  Time origin_{};
  uint64_t done_ = 0;  // samples of the run's complete buffers (capture: of the stream consumed)

 private:
  OccurrenceId pending_ = 0;
};

}  // namespace platform::wave
