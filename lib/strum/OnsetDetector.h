#pragma once

#include <complex>
#include <cstdint>
#include <vector>

#include "measure/RealFft.h"

namespace Strum {

using Measure::RealFft;

// Finds attacks in a stream of sound by spectral flux: the rise of the log
// magnitude spectrum from one frame to the next, summed over the bins, is
// an onset where it peaks above an adaptive threshold (Bello et al., "A
// tutorial on onset detection in music signals", IEEE Trans. Speech and
// Audio Processing 13(5), 2005). Frames of 1024 samples every 256.
//
// Feed it samples in blocks of any size; it reports each onset as the
// sample index where the attack began, about two hops (23 ms) after it has
// passed. Allocates only at construction.
class OnsetDetector {
 public:
  static constexpr int kFrame = 1024;
  static constexpr int kHop = 256;

  struct Onset {
    int64_t at = 0;     // sample index from the start of the stream
    double flux = 0;    // how strong the attack is: the flux at its peak
  };

  OnsetDetector();

  // Adds samples; onsets found are appended to *onsets.
  void Feed(const int16_t *samples, size_t count, std::vector<Onset> *onsets);

  int64_t Position() const { return position_; }

 private:
  void AnalyseFrame(std::vector<Onset> *onsets);
  double Flux();
  double Threshold();

  RealFft fft_;
  std::vector<double> window_, frame_, input_;
  std::vector<std::complex<double>> bins_;
  std::vector<double> previous_, current_;  // log magnitudes of the last two frames
  std::vector<double> recent_;              // ring of the fluxes before, for the threshold
  std::vector<double> sorted_;
  double fluxBefore_ = 0, fluxLast_ = 0;    // the two fluxes before the newest
  int64_t position_ = 0;                    // samples fed so far
  int64_t frames_ = 0;
};

}  // namespace Strum
