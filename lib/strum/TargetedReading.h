#pragma once

#include "StrumReading.h"
#include "measure/NoteTargets.h"

namespace Strum {

// A strum's reading against where each string is in tune: the analyser
// reads each string against its note in equal temperament; this moves every
// string's deviation to its target (its note in the temperament, moved by
// its offset) and names the nearest note by the targets. Plain targets
// change nothing. The strings beyond the tuning's, or the reading's, are
// left alone.
inline void ReadAgainstTargets(const Measure::NoteTargets &targets, StrumReading *reading) {
  if (targets.Plain()) return;
  const Measure::Tuning &tuning = targets.GetTuning();
  for (size_t s = 0; s < tuning.Strings() && s < static_cast<size_t>(reading->count); ++s) {
    StringReading &r = reading->strings[s];
    if (!r.heard) continue;
    r.cents -= 100 * (targets.StringTarget(s) - tuning.notes[s]);
    r.nearest = targets.Nearest(r.note);
  }
}

}  // namespace Strum
