#include "StruckStrings.h"

#include <algorithm>
#include <cmath>

#include "StrumFormat.h"
#include "measure/Hann.h"
#include "measure/MidiTypes.h"

namespace Strum {

using Measure::Hann;

namespace {

constexpr int kPadded = 4 * StruckStrings::kWindow;  // bins 2.7 Hz apart
constexpr int kOwnPartials = 8;
constexpr int kOtherPartials = 16;
constexpr double kHighest = 3000.0;  // hertz; the cue's low-pass takes what lies above
// Apart: beyond 1.5 bins of the window (its main lobe 15 dB down) once both
// strings are 30 cents off the other way.
constexpr double kLobe = 1.5 * kSampleRate / StruckStrings::kWindow;
constexpr double kDetuneShare = 0.035;
constexpr double kLeastShare = 1e-2;   // −20 dB of the loudest string's energy after the attack: not its leakage
constexpr double kLeastEnergy = 100;   // an amplitude of 10 sample units: noise
// A sound that fell by more than this is not foretold well enough to say
// what is new in it.
constexpr double kKept = 0.5;

double Ratio(double cents) { return std::pow(2.0, cents / 1200); }

}  // namespace

StruckStrings::StruckStrings(const Measure::Tuning &tuning, double reference)
    : count_(static_cast<int>(tuning.Strings())), fft_(kPadded), window_(kWindow), input_(kPadded),
      earlier_(kPadded / 2 + 1), before_(kPadded / 2 + 1), after_(kPadded / 2 + 1) {
  double sum = 0;
  for (int t = 0; t < kWindow; ++t) sum += window_[t] = Hann(t, kWindow);
  for (double &w : window_) w *= 2 / sum;  // amplitudes in sample units
  const double bin = kSampleRate / kPadded;
  for (int s = 0; s < count_; ++s) {
    const double f = FrequencyFromNote(tuning.notes[s], reference);
    for (int n = 1; n <= kOwnPartials && n * f < kHighest; ++n) {
      const double partial = n * f, apart = kLobe + kDetuneShare * partial;
      bool alone = true;
      for (int o = 0; o < count_ && alone; ++o) {
        if (tuning.notes[o] == tuning.notes[s]) continue;  // a pair tuned alike is one string
        const double g = FrequencyFromNote(tuning.notes[o], reference);
        for (int m = 1; m <= kOtherPartials && alone; ++m) alone = std::abs(m * g - partial) >= apart;
      }
      if (alone)
        own_[s].push_back({static_cast<int>(std::floor(partial / Ratio(kReach) / bin)),
                           static_cast<int>(std::ceil(partial * Ratio(kReach) / bin))});
    }
  }
}

void StruckStrings::Spectrum(const int16_t *samples, std::vector<std::complex<double>> *bins) {
  for (int t = 0; t < kWindow; ++t) input_[t] = window_[t] * samples[t];
  std::fill(input_.begin() + kWindow, input_.end(), 0.0);
  fft_.Transform(input_.data(), bins->data());
}

// String s's own partials, each at the strongest bin of its band after the
// attack. A window's phase counts from its first sample, so a sinusoid's
// bin turns by the same step from one window to the next.
StruckStrings::Energies StruckStrings::Measure(int s) const {
  Energies e;
  for (const Band &b : own_[s]) {
    int peak = b.from;
    for (int k = b.from; k <= b.to; ++k)
      if (std::norm(after_[k]) > std::norm(after_[peak])) peak = k;
    const std::complex<double> a = after_[peak], m = before_[peak], p = earlier_[peak];
    std::complex<double> step = std::abs(p) > 0 ? m / p : 0.0;
    if (std::abs(step) > 1) step /= std::abs(step);  // a partial swelling is foretold as going on
    e.after += std::norm(a), e.before += std::norm(m), e.earlier += std::norm(p);
    e.unforetold += std::norm(a - m * step);
  }
  return e;
}

void StruckStrings::Compare(const int16_t *samples) {
  Spectrum(samples, &earlier_);
  Spectrum(samples + kWindow, &before_);
  Spectrum(samples + 2 * kWindow, &after_);
  std::array<Energies, kMost> e{};
  double loudest = 0;
  for (int s = 0; s < count_; ++s) {
    if (!Telling(s)) continue;
    e[s] = Measure(s);
    loudest = std::max(loudest, e[s].after);
    rise_[s] = e[s].before > 0 ? e[s].after / e[s].before : e[s].after > 0 ? 1e9 : 0;
    novelty_[s] = e[s].after > 0 ? e[s].unforetold / e[s].after : 0;
    energy_[s] = e[s].after;
  }
  for (int s = 0; s < count_; ++s) {
    const bool loud = Telling(s) && e[s].after >= std::max(kLeastEnergy, kLeastShare * loudest);
    struck_[s] = loud && rise_[s] >= kRise;
    lately_[s] = loud && (e[s].after >= kRise * std::min(e[s].before, e[s].earlier) ||
                          (rise_[s] >= kKept && novelty_[s] >= kNew));
  }
}

}  // namespace Strum
