#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "measure/Tuning.h"

namespace Strum {

// What one strum says of one string. A string's pitch is the frequency of
// its first partial as the fit of its partials to the stiff string's series
// gives it (HarmonicString::Fundamental), whichever partials were heard:
// the fundamental itself may be missing (a small microphone's high-pass).
// A string "not sure" keeps what was read of it, for those who weigh
// readings (the accuracy report, the truth of a string alone); what is
// shown of it, on the screen or in a report, is that it is not sure.
struct StringReading {
  bool heard = false;    // read, and sure of it
  bool unsure = false;   // something was read, but too little agrees to trust it
  double confidence = 0;  // 0…1: how well the partials read agree on one string; 0 when nothing was read
  double hertz = 0;    // the first partial; 0 when nothing was read
  double note = 0;     // hertz as a fractional MIDI note at the reference
  int nearest = 0;     // the tempered note nearest to it
  double cents = 0;    // deviation from the string's target note
  double level = 0;    // amplitude of its own partials, sample units
};

// Below this confidence a reading is not given: the string is "not sure".
inline constexpr double kLeastConfidence = 0.5;

// Every string of one strum, in the tuning's order (string 1 first): as
// many as the tuning has, held in place; those past `count` stay unread.
struct StrumReading {
  int64_t onset = 0;  // sample index of the strum's first attack
  int64_t from = 0;   // the stretch read: samples from…to−1
  int64_t to = 0;
  int64_t ready = 0;  // samples the stream had delivered when it was read
  int count = 6;      // the tuning's strings
  std::array<StringReading, Measure::Tuning::kMostStrings> strings;

  std::span<const StringReading> Strings() const { return {strings.data(), static_cast<size_t>(count)}; }

  int Heard() const {
    int heard = 0;
    for (const StringReading &s : Strings()) heard += s.heard;
    return heard;
  }
};

}  // namespace Strum
