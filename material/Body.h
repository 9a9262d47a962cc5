#pragma once

#include <cstdint>
#include <vector>

namespace material {

// An instrument's body: a few resonances (the air mode, the top plate's
// first modes) that colour what the strings drive into it, and that pull
// the string modes near them a little off their series and take energy
// from them (the bridge moves there). Each resonance is a band-pass added
// to the direct sound.
class Body {
 public:
  struct Resonance {
    double hertz = 0, q = 10, gain = 1;
  };

  // A guitar's or a bass's body, its resonances varied by the seed.
  static Body Guitar(uint64_t seed);
  static Body Bass(uint64_t seed);

  const std::vector<Resonance> &Resonances() const { return resonances_; }

  // The relative shift of a string mode at `hertz` by the resonances near
  // it (below a resonance up, above it down), and the decay it adds, per
  // second.
  double Pull(double hertz) const;
  double ExtraLoss(double hertz) const;

  // The sound radiated: x plus each resonance's band-pass of x.
  std::vector<double> Radiate(const std::vector<double> &x) const;

 private:
  std::vector<Resonance> resonances_;
};

}  // namespace material
