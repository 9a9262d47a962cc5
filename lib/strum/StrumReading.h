#pragma once

#include <array>
#include <cstdint>

namespace Strum {

// What one strum says of one string.
struct StringReading {
  bool heard = false;
  double hertz = 0;    // the fundamental (first partial); 0 when not heard
  double note = 0;     // hertz as a fractional MIDI note at the reference
  int nearest = 0;     // the tempered note nearest to it
  double cents = 0;    // deviation from the string's target note
  double level = 0;    // amplitude of its own partials, sample units
};

// Every string of one strum, string 1 (the lowest) first.
struct StrumReading {
  int64_t onset = 0;  // sample index of the strum's first attack
  int64_t from = 0;   // the stretch read: samples from…to−1
  int64_t to = 0;
  int64_t ready = 0;  // samples the stream had delivered when it was read
  std::array<StringReading, 6> strings;

  int Heard() const {
    int count = 0;
    for (const StringReading &s : strings) count += s.heard;
    return count;
  }
};

}  // namespace Strum
