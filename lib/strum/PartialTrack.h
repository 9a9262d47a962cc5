#pragma once

#include <complex>
#include <cstdint>
#include <vector>

namespace Strum {

// How one frequency sounds through a strum, attacks included: the complex
// amplitude at `hertz` in Hann frames of kFrame samples every kHop, in
// sample units, each frame's phase counted from the first sample, so that
// a sinusoid A·cos(2π·f'·t + φ) shows in frame m as about
// A·e^(iφ)·e^(2πi(f' − hertz)·t_m) (t_m its middle). Frames are long enough
// to keep the next string's partials out (about 20 Hz away at most; the
// window's main lobe reaches 21.5 Hz), short enough to tell attacks 80 ms
// apart.
class PartialTrack {
 public:
  static constexpr int kFrame = 2048;
  static constexpr int kHop = 512;

  // Frames of samples[0…count); none when count < kFrame.
  void Compute(const int16_t *samples, int count, double hertz);

  double Hertz() const { return hertz_; }
  int Frames() const { return static_cast<int>(frames_.size()); }
  const std::complex<double> &operator[](int m) const { return frames_[m]; }
  // The sample in the middle of frame m.
  static double Middle(int m) { return m * kHop + 0.5 * (kFrame - 1); }
  // The share of frame m's window weight at or after sample t: how much of
  // a sound that starts at t the frame holds.
  static double After(int m, double t);

 private:
  double hertz_ = 0;
  std::vector<double> re_, im_;  // the samples turned down by hertz
  std::vector<std::complex<double>> frames_;
};

}  // namespace Strum
