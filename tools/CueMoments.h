#pragma once

#include <cstdio>
#include <vector>

#include "base/SoundFormat.h"
#include "measure/NoteTargets.h"
#include "synth/CueTracker.h"
#include "synth/CueVoice.h"

// The tuner's cue (--cue) as lines on stderr: each result is a reading of
// the gauge ("Ok" within 3 cents of its nearest target), and each click and
// chime the cue would play over its block is one line,
// "cue<TAB>SECONDS<TAB>click" or "...chime", timed within the block.
class CueMoments {
 public:
  explicit CueMoments(FILE *out) : out_(out) {}

  // A result of note `note` (0: none), read against the nearest of
  // `targets`, for the block of `samples` at `start` seconds.
  void Reading(double note, const Measure::NoteTargets &targets, double start, int samples);

 private:
  FILE *out_;
  CueTracker tracker_;
  CueVoice voice_{drovane::kSampleRate};
  std::vector<short> scratch_;
  std::vector<CueVoice::Moment> moments_;
};
