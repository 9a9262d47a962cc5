#pragma once

#include <memory>

#include "kernel/Platform.h"
#include "wave/CaptureStream.h"
#include "wave/WaveInDevice.h"

namespace platform::wave {

// Capture at the pace of the platform clock from a sample source: a buffer of
// n samples is done exactly n/22050 s after the previous one (or after the
// start), and holds the next n samples of the source. While no buffer is
// queued the source runs on unheard, as a microphone would.
class PacedCapture : public CaptureDriver {
 public:
  explicit PacedCapture(std::unique_ptr<CaptureStream> source) : source_(std::move(source)) {}
  ~PacedCapture() override;

  void OnStart() override;
  void OnAdded() override;
  uint32_t OnReset() override;
  void OnAbandoned() override { pending_ = 0; }

 private:
  void ScheduleFront();
  void FillFront();
  void CatchUp();
  void ReadInto(char *out, uint32_t samples);

  std::unique_ptr<CaptureStream> source_;
  Time origin_{};
  uint64_t position_ = 0;  // samples of the source consumed since the start
  OccurrenceId pending_ = 0;
};

}  // namespace platform::wave
