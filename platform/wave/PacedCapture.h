#pragma once

#include <memory>

#include "wave/CaptureStream.h"
#include "wave/ClockPacer.h"
#include "wave/WaveDriver.h"

namespace platform::wave {

// Capture at the pace of the platform clock from a capture stream: a buffer
// of n samples is done exactly n/22050 s after the previous one (or after the
// start), and holds the next n samples of the stream. While no buffer is
// queued the stream runs on unheard, as a microphone would.
class PacedCapture : public WaveDriver {
 public:
  explicit PacedCapture(std::unique_ptr<CaptureStream> stream)
      : stream_(std::move(stream)), pacer_([this] { FrontDue(); }) {}

  void OnStart() override;
  void OnQueued() override;
  uint32_t OnReset() override;
  void OnAbandoned() override { pacer_.Abandon(); }

 private:
  void FrontDue();
  void ReadInto(char *out, uint32_t samples);

  std::unique_ptr<CaptureStream> stream_;
  ClockPacer pacer_;
};

}  // namespace platform::wave
