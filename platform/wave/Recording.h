#pragma once

#include <cstddef>
#include <cstdint>

#include "base/SoundFormat.h"

// A recording (a sound file, the built-in demo) as the tuner hears it: 22050
// samples per second, mono, 16-bit, read front to back in pieces of any size,
// holding only a bounded amount of audio at a time, and ending.
class Recording {
 public:
  virtual ~Recording() = default;

  // Copies up to `max` next samples to `out`; returns how many. 0 means the
  // stream has ended (or failed: see Error).
  virtual size_t Read(int16_t *out, size_t max) = 0;

  // Empty while all is well; a description once reading has failed.
  virtual const char *Error() const { return ""; }

  // Samples so far that were not numbers (NaN, ±infinity) and were heard as
  // silence instead.
  virtual uint64_t NonFiniteSamples() const { return 0; }
};
