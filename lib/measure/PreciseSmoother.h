#pragma once

#include <cstddef>
#include <vector>

namespace Measure {

// Turns the fine estimator's notes, one a hop, into readings: a note is
// read once two hops in a row agree on it (one odd hop is never shown),
// then as the mean of the middle half of its last kWindow notes, so the
// first reading comes two hops after the estimate does and the steady one
// is averaged over a quarter of a second. A note that moves by more than
// kSameNote is a new one only when two hops agree on it; a note no longer
// heard is held kHold hops, then the reading is 0.
class PreciseSmoother {
 public:
  static constexpr size_t kWindow = 12;
  static constexpr double kSameNote = 0.5;  // semitones
  static constexpr int kHold = 10;

  // The reading after one hop's note (0: none heard).
  double Step(double note);
  // A new attack: the notes so far are forgotten (the reading is held).
  void Restart();
  // The last Step began a new note.
  bool Began() const { return began_; }
  bool Holding() const { return !notes_.empty(); }

 private:
  double Reading() const;
  void Begin(double note);

  std::vector<double> notes_;
  double pending_ = 0;  // a note heard once, waiting for the next hop
  double shown_ = 0;
  int missed_ = 0;
  bool began_ = false;
};

}  // namespace Measure
