#include "Fading.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "StrumFormat.h"
#include "measure/Hann.h"

namespace Strum {

using Measure::Hann;

namespace {

// The window of the last length asked for: both halves of a stretch, and
// every string read from it, share one.
const std::vector<double> &Window(int count) {
  thread_local std::vector<double> window;
  if (static_cast<int>(window.size()) != count) {
    window.resize(count);
    for (int t = 0; t < count; ++t) window[t] = Hann(t, count);
  }
  return window;
}

double Amplitude(const int16_t *samples, int count, double hertz) {
  // The phasor turns by a fixed step: one complex multiply per sample.
  const std::complex<double> step = std::polar(1.0, -2 * std::numbers::pi * hertz / kSampleRate);
  const std::vector<double> &window = Window(count);
  std::complex<double> turn = 1, sum;
  for (int t = 0; t < count; ++t, turn *= step) sum += window[t] * samples[t] * turn;
  return std::abs(sum);
}

}  // namespace

double Fading(const int16_t *samples, int count, double hertz) {
  const int half = count / 2;
  const double first = Amplitude(samples, half, hertz);
  return first > 0 ? Amplitude(samples + half, half, hertz) / first : 0;
}

}  // namespace Strum
