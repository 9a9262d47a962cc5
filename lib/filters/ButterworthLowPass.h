#pragma once

#include <array>
#include <cstdint>

// An eighth-order Butterworth low-pass of 16-bit samples: four biquad
// sections (bilinear transform, the corner prewarped), state carried from
// call to call. Flat in the pass band; falls 48 dB an octave past the
// corner. Single-threaded.
class ButterworthLowPass {
 public:
  ButterworthLowPass(double cornerHertz, double samplesPerSecond);

  // Filters `count` samples from `in` to `out` (which may be the same).
  void Process(const int16_t *in, int16_t *out, int count);

 private:
  struct Section {
    double b0, b1, b2, a1, a2;  // normalised by a0
    double z1 = 0, z2 = 0;      // transposed direct form II
    double Step(double x);
  };
  std::array<Section, 4> sections_;
};
