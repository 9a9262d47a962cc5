#include "Temperament.h"

namespace Measure {

namespace {

int FloorDiv12(int n) { return n >= 0 ? n / 12 : (n - 11) / 12; }

}  // namespace

Temperament::Temperament() {
  for (int d = 0; d < 12; ++d) degree_[d] = 100.0 * d;
}

Temperament::Temperament(const ScalaScale &scale, int root) : octave_(scale.cents[11]), root_(root) {
  for (int d = 1; d < 12; ++d) degree_[d] = scale.cents[d - 1];
  for (int d = 0; d < 12; ++d) equal_ = equal_ && degree_[d] == 100.0 * d;
  equal_ = equal_ && octave_ == 1200;
}

double Temperament::Cents(int note) const {
  if (equal_) return 0;
  const int fromRoot = note - (60 + root_);
  const int octave = FloorDiv12(fromRoot), degree = fromRoot - 12 * octave;
  return degree_[degree] + octave * octave_ - 100.0 * fromRoot;
}

}  // namespace Measure
