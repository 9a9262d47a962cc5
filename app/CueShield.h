#pragma once

#include "filters/ButterworthLowPass.h"
#include "filters/IMediaSample.h"
#include "general/DelegateRC.h"
#include "general/UninitResident.h"

// What keeps the tuner from hearing its own cue: with --cue the captured
// sound reaches the pitch pipeline (and the strum check) through a low-pass
// at kCornerHertz, past which the cue's sounds all lie (CueVoice), cut by
// 40 dB and more. A guitar's notes and the partials the estimator reads lie
// below it, and a filter moves no period. The filtered buffer is a copy;
// the capture's own is left as it was.
//
// Thread: program thread, inside the capture notification. Lifetime:
// counted; registered with the tear-down root, whose uninit pass unbinds
// `next`.
class CueShield : public virtual CRefCounter {
 public:
  static constexpr double kCornerHertz = 2800;
  using SampleDelegate = DelegateRC<void(AV::IMediaSample *)>;

  CueShield(UninitCaller *root, uint32_t samplesPerSecond, const SampleDelegate &next);
  CueShield(const CueShield &) = delete;
  CueShield &operator=(const CueShield &) = delete;

  void OnSample(AV::IMediaSample *sample);

 private:
  void Uninit() { next_ = SampleDelegate(); }

  ButterworthLowPass filter_;
  SampleDelegate next_;
  UninitResident resident_;
};
