#pragma once

#include <complex>
#include <cstdint>
#include <vector>

#include "measure/RealFft.h"

namespace Strum {

using Measure::RealFft;

// The magnitude spectrum of one stretch of a strum: Hann window, zero-padded
// four times or more so that peaks can be read between bins, amplitudes in
// sample units (a sinusoid of amplitude A peaks at A), and a floor of noise
// and leakage per band against which partials are judged.
class StrumSpectrum {
 public:
  static constexpr int kFftSize = 65536;
  static constexpr int kLongestStretch = kFftSize / 4;

  struct Peak {
    double hertz = 0;
    double amplitude = 0;
  };

  StrumSpectrum();

  // Analyses count samples, 64 ≤ count ≤ kLongestStretch.
  void Compute(const int16_t *samples, int count);

  double BinHertz() const;    // spacing of the padded bins
  double Resolution() const;  // spacing of the unpadded ones: the window's unit
  int Bins() const { return static_cast<int>(amplitude_.size()); }
  double Amplitude(int bin) const { return amplitude_[bin]; }

  // The bin as if time ran from the middle of the stretch, in amplitude
  // units: near a sinusoid of amplitude A at f it is A·e^(iφ)·Shape(ν − f).
  std::complex<double> Centered(int bin) const;
  // The window's transform `hertz` away from its centre, 1 at 0.
  double Shape(double hertz) const;
  // Shape(k·BinHertz() − f) for the `count` bins from `first` on, within
  // about 1e-12 of it and much cheaper: for screening trial frequencies.
  void QuickShapes(int first, int count, double f, double *out) const;

  // Typical magnitude between the peaks near hertz (a band median), at
  // least 80 dB below the strongest peak.
  double Floor(double hertz) const;

  // The strongest local maximum within hertz ± tolerance, its frequency and
  // amplitude interpolated on the log magnitude; false when there is none.
  bool PeakNear(double hertz, double tolerance, Peak *peak) const;

  // The local maximum nearest to hertz within ± tolerance that stands
  // `snr` times above the floor; false when there is none.
  bool NearestPeak(double hertz, double tolerance, double snr, Peak *peak) const;

  // Every local maximum up to `highest` hertz standing `snr` times above
  // the floor, lowest first.
  std::vector<Peak> Peaks(double highest, double snr) const;

 private:
  void ComputeFloor();
  Peak Interpolate(int bin) const;

  RealFft fft_;
  std::vector<double> input_;
  std::vector<double> window_;  // Hann of the last stretch's length
  double windowSum_ = 0;
  static constexpr int kTurns = 256;     // bins QuickShapes turns to; beyond, it computes exactly
  std::vector<double> turnCos_, turnSin_;  // of πN·i/kFftSize, i < kTurns
  std::vector<std::complex<double>> bins_;
  std::vector<double> amplitude_;
  std::vector<double> floor_;  // one value per band of kFloorBand bins
  int count_ = 0;
  double scale_ = 0;  // from transform to amplitude units
};

}  // namespace Strum
