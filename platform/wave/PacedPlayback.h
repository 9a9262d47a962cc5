#pragma once

#include <memory>

#include "wave/ClockPacer.h"
#include "wave/SoundSink.h"
#include "wave/WaveDriver.h"

namespace platform::wave {

// Playback at the pace of the platform clock into a sink: a buffer of n
// samples is done exactly n/22050 s after the previous one ended (or after it
// was written, if the device had run dry). The sink gets each buffer as it
// finishes.
class PacedPlayback : public WaveDriver {
 public:
  explicit PacedPlayback(std::unique_ptr<SoundSink> sink) : sink_(std::move(sink)), pacer_([this] { FrontDue(); }) {}

  void OnQueued() override;
  uint32_t OnReset() override;
  void OnAbandoned() override { pacer_.Abandon(); }

 private:
  void FrontDue();
  void Emit(const char *data, uint64_t samples);

  std::unique_ptr<SoundSink> sink_;
  ClockPacer pacer_;
};

}  // namespace platform::wave
