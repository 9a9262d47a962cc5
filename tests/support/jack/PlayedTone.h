#pragma once

// A sine tone of a known frequency, amplitude and length, written into an
// output port from its first frame on: frame n holds
// amplitude * sin(2 pi frequency n / rate), so a recording can be checked
// sample by sample for a lost or repeated period.
#include "PortWork.h"

class PlayedTone : public PortWork {
 public:
  PlayedTone(double frequency, double amplitude, jack_nframes_t length, jack_nframes_t rate);
  static float Sample(double frequency, double amplitude, jack_nframes_t n, jack_nframes_t rate);

  // Finished one period after the tone's last frame, so that period has
  // reached the ports it feeds before the client goes.
  bool Process(float *buffer, jack_nframes_t frames) override;
  jack_nframes_t Played() const { return next_; }

 private:
  double frequency_, amplitude_;
  jack_nframes_t length_, rate_;
  jack_nframes_t next_ = 0;
};
