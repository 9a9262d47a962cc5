#pragma once

#include "filters/IMediaSample.h"
#include "general/RCPtr.h"
#include "win/wave.h"

// A playback buffer over the memory of an existing media sample: nothing is
// copied, and the sample is kept alive until this header is destroyed (when
// the device has given it back).
class WaveHeaderPlayMM : public virtual CRefCounter {
 public:
  // `sample` must not be null (the pointer's check fails and the header stays empty).
  explicit WaveHeaderPlayMM(RCPtr<AV::IMediaSample> sample);

  WAVEHDR *Header() { return &header_; }

 private:
  WAVEHDR header_;
  RCPtr<AV::IMediaSample> sample_;
};
