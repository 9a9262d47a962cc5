#pragma once

#include <cstdint>

#include "filters/IMediaSample.h"
#include "general/CRefCounter.h"
#include "general/Delegate.h"
#include "wave/RecordingStream.h"

// Watches the captured buffers of a recording played into the microphone and
// calls `stop` once the buffer holding the recording's last sample has been
// handed on (the capture device knows no end: it would go on with silence).
// Bound into the capture device's sample handler behind the pipeline. With
// no recording (live input) it only counts. Program thread only.
class RecordingEnd : public virtual CRefCounter {
 public:
  RecordingEnd(const platform::wave::RecordingStatus *recording, const Delegate<void()> &stop)
      : recording_(recording), stop_(stop) {}

  void OnSample(AV::IMediaSample *sample);

  // Samples handed on so far, the recording's and any silence after it.
  uint64_t Delivered() const { return delivered_; }

 private:
  const platform::wave::RecordingStatus *recording_;
  Delegate<void()> stop_;
  uint64_t delivered_ = 0;
};
