#pragma once

#include <memory>

#include "kernel/Platform.h"
#include "wave/SoundSink.h"
#include "wave/WaveOutDevice.h"

namespace platform::wave {

// Playback at the pace of the platform clock into a sink: a buffer of n
// samples is done exactly n/22050 s after the previous one ended (or after it
// was written, if the device had run dry). The sink gets each buffer as it
// finishes.
class PacedPlayback : public PlaybackDriver {
 public:
  explicit PacedPlayback(std::unique_ptr<SoundSink> sink) : sink_(std::move(sink)) {}
  ~PacedPlayback() override;

  void OnWritten() override;
  void OnReset() override;
  void OnAbandoned() override { pending_ = 0; }

 private:
  void ScheduleFront();
  void FinishFront();
  void Emit(const char *data, uint64_t samples);

  std::unique_ptr<SoundSink> sink_;
  Time origin_{};          // when the current run of buffers began
  uint64_t played_ = 0;    // samples played in this run
  OccurrenceId pending_ = 0;
};

}  // namespace platform::wave
