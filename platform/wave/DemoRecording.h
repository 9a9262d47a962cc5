#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Recording.h"

// The built-in demo: the six open guitar strings plucked one after another,
// each a little out of tune, with silence before, between and after. Made
// by this code at run time, sample by sample, the same on every run.
class DemoRecording : public Recording {
 public:
  struct Pluck {
    double note;       // fractional MIDI note actually played (A = 440 Hz)
    size_t start;      // first sample of the pluck
    size_t length;     // samples until the next silence
  };

  DemoRecording();

  size_t Read(int16_t *out, size_t max) override;

  // What the demo plays, in order.
  static const std::vector<Pluck> &Plucks();
  static size_t TotalSamples();

 private:
  int16_t SampleAt(size_t index);

  size_t position_ = 0;
  uint32_t noise_ = 12345;  // seeds the hiss under the strings
};
