#include "NoteTargets.h"

#include <cmath>

namespace Measure {

namespace {

// How far from the nearest equal-tempered note the nearest target may lie,
// in notes: far more than any scale of rising pitches moves a note.
constexpr int kSearch = 12;

}  // namespace

NoteTargets::NoteTargets(const Temperament &temperament, const Tuning &tuning)
    : temperament_(temperament), tuning_(tuning) {
  plain_ = temperament.IsEqual();
  for (size_t s = 0; s < tuning.Strings(); ++s) plain_ = plain_ && tuning.offsets[s] == 0;
}

double NoteTargets::Target(int note) const {
  if (plain_) return note;
  for (size_t s = 0; s < tuning_.Strings(); ++s)
    if (tuning_.notes[s] == note) return StringTarget(s);
  return note + temperament_.Cents(note) / 100;
}

double NoteTargets::StringTarget(size_t s) const {
  const int note = tuning_.notes[s];
  return note + (temperament_.Cents(note) + tuning_.offsets[s]) / 100;
}

int NoteTargets::Nearest(double pitch) const {
  if (!(pitch > -1e9 && pitch < 1e9)) return 0;
  const int rounded = static_cast<int>(std::floor(pitch + 0.5));
  if (plain_) return rounded;
  int nearest = rounded;
  double distance = std::abs(pitch - Target(rounded));
  for (int note = rounded - kSearch; note <= rounded + kSearch; ++note) {
    const double d = std::abs(pitch - Target(note));
    if (d < distance || (d == distance && note > nearest)) nearest = note, distance = d;
  }
  return nearest;
}

}  // namespace Measure
