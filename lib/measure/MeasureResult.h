#pragma once

#include <cstddef>
#include <cstdint>

namespace Measure {

// One measurement. As packed in a result sample: 16 bytes, the level, six
// zero bytes, the note.
struct Result {
  // Root mean square of the last full analysis's 500 samples (1…32767).
  int16_t level;
  // Fractional MIDI note, 69 = the reference A; 0 means no pitch.
  double note;
};

static_assert(sizeof(Result) == 16 && offsetof(Result, note) == 8, "result samples pack 16-byte records");

}  // namespace Measure
