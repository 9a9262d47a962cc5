#pragma once

#include "Temperament.h"
#include "Tuning.h"

namespace Measure {

// Where each note is in tune, for the needle, the readings, calibration,
// the strum check and the reference tones: as fractional MIDI notes at the
// reference A, a note lies where its temperament puts it, and a note that
// is a string of the tuning lies its offset further (the first such string
// when two have the note). Plain targets (equal temperament, no offset) are
// the phone's: every note where its number says, the nearest note the
// phone's floor(pitch + 0.5).
class NoteTargets {
 public:
  NoteTargets() = default;
  NoteTargets(const Temperament &temperament, const Tuning &tuning);

  bool Plain() const { return plain_; }
  const Temperament &GetTemperament() const { return temperament_; }
  const Tuning &GetTuning() const { return tuning_; }

  // Where `note` is in tune; the note itself when plain.
  double Target(int note) const;
  // Where string s (0 first) is in tune: its note in the temperament, moved
  // by its offset.
  double StringTarget(size_t s) const;
  // The note whose target lies nearest `pitch` (the higher of two as near);
  // 0 for a pitch no note can be near (not a number, or beyond ±1e9).
  int Nearest(double pitch) const;

 private:
  Temperament temperament_;
  Tuning tuning_;
  bool plain_ = true;
};

}  // namespace Measure
