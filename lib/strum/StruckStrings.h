#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <vector>

#include "measure/RealFft.h"
#include "measure/Tuning.h"

namespace Strum {

// Which strings an attack struck: a string struck adds at its own
// partials, those that lie apart from every other string's (E2's first,
// A2's first and second, ...), a sound that its ringing before does not
// explain, while a string ringing on only decays there and the room's
// reverberation only follows what was struck. Three windows are read, two
// before the attack and one after it, each kWindow long and each starting
// where the one before ends: at each own partial (looked for within kReach
// of where the string's note puts it, so that a string 40 cents off is
// still itself) the sound after is foretold from the two before, going on
// at the phase step and the decay they show, and what it leaves is new.
// A string struck again as loud as it rang, whose energy hardly rises, is
// told so. Strings none of whose partials lie apart (B3 and E4 in tune, on
// E2's and A2's) cannot be told: they are never reported struck.
//
// Windows of kWindow samples: long enough to keep the low strings' partials
// apart, short enough to end before the previous strum's attacks. Not
// thread-safe; allocates only at construction.
class StruckStrings {
 public:
  static constexpr int kWindow = 2048;
  static constexpr double kReach = 40;  // cents either side of the target partial
  static constexpr double kRise = 2.0;  // energy after the attack over energy before: 3 dB
  static constexpr double kNew = 0.5;   // or this share of the energy after not foretold

  StruckStrings(const Measure::Tuning &tuning, double reference);

  // Whether string s has a partial of its own to be told by.
  bool Telling(int s) const { return !own_[s].empty(); }

  // Reads the 3·kWindow samples around an attack: two windows before it,
  // one after; Struck, Lately and Rise then tell of this attack.
  void Compare(const int16_t *samples);

  // Whether string s rose at its own partials, loud enough to be a string
  // struck rather than noise or a faint sympathetic ring: at this attack,
  // or lately (an attack before it that was not found as an onset of its
  // own, whose sound is in `before`).
  bool Struck(int s) const { return struck_[s]; }
  bool Lately(int s) const { return lately_[s]; }
  // Energy after over energy just before, at string s's own partials, and
  // the share of the energy after that the sound before does not foretell.
  double Rise(int s) const { return rise_[s]; }
  double Novelty(int s) const { return novelty_[s]; }
  // The energy of string s's own partials after the attack.
  double Energy(int s) const { return energy_[s]; }

 private:
  struct Band {
    int from = 0, to = 0;  // bins, inclusive
  };
  static constexpr size_t kMost = Measure::Tuning::kMostStrings;

  struct Energies {
    double after = 0, before = 0, earlier = 0, unforetold = 0;
  };

  void Spectrum(const int16_t *samples, std::vector<std::complex<double>> *bins);
  Energies Measure(int s) const;

  int count_;
  std::array<std::vector<Band>, kMost> own_;
  std::array<bool, kMost> struck_{}, lately_{};
  std::array<double, kMost> rise_{}, novelty_{}, energy_{};
  Measure::RealFft fft_;
  std::vector<double> window_, input_;
  std::vector<std::complex<double>> earlier_, before_, after_;
};

}  // namespace Strum
