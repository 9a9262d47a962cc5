#pragma once

#include <array>

#include "ScalaScale.h"

namespace Measure {

// Where the notes of a temperament lie, against equal temperament: a scale
// of 12 pitches (ScalaScale) whose degree 0 falls on the note `root`
// (a pitch class, 0 = C … 11 = B). The root keeps its equal-tempered pitch
// from the reference A, and the other notes lie at the scale's pitches
// above it, so with the root A, A is the reference itself; with the root C
// (the default) and just intonation, E is a pure third (5/4) above the
// equal-tempered C. A scale whose octave is not 1200 cents repeats at its
// own, counted from the root nearest above middle C (60…71).
class Temperament {
 public:
  Temperament();  // equal temperament
  Temperament(const ScalaScale &scale, int root);

  // True when every note lies where equal temperament puts it.
  bool IsEqual() const { return equal_; }
  int Root() const { return root_; }
  // How far the MIDI note `note` lies from its equal-tempered pitch, in cents.
  double Cents(int note) const;

 private:
  std::array<double, 12> degree_{};  // cents of degrees 0…11 above the root
  double octave_ = 1200;
  int root_ = 0;
  bool equal_ = true;
};

}  // namespace Measure
