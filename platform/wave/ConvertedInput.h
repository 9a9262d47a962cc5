#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "wave/RateConverter.h"
#include "wave/SampleRing.h"

namespace platform::wave {

// The sound a live capture device put into its ring, at the device's rate,
// as the program hears it: 22050 Hz (libsoxr converts; a device at 22050 Hz
// is read as it is). Program thread.
class ConvertedInput {
 public:
  // A new device at `rate`; false, with the reason, when it cannot be converted.
  bool Begin(int rate, std::string *error);
  // Up to `count` samples into `out` (any alignment), as far as the ring has
  // sound; returns how many.
  size_t Read(SampleRing &ring, void *out, size_t count);

 private:
  // Converts more of the ring; false when there was nothing to convert.
  bool Convert(SampleRing &ring);

  std::unique_ptr<RateConverter> converter_;
  std::vector<int16_t> raw_;
  std::vector<float> in_, made_;
  size_t inAt_ = 0, inEnd_ = 0, madeAt_ = 0, madeEnd_ = 0;
};

}  // namespace platform::wave
