#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "wave/RateConverter.h"
#include "wave/SampleRing.h"

namespace platform::wave {

// The sound a live capture device put into its ring, at the device's rate,
// as the program hears it: 16-bit samples at 22050 Hz, made from the ring's
// floats in one step (libsoxr converts the rate at a fixed ratio, so none is
// gained or lost over any length; a device at 22050 Hz is only rounded).
// Program thread.
class ConvertedInput {
 public:
  // A new device at `rate`; false, with the reason, when it cannot be converted.
  bool Begin(int rate, std::string *error);
  // Up to `count` samples into `out` (any alignment), as far as the ring has
  // sound; returns how many.
  size_t Read(SampleRing &ring, void *out, size_t count);

 private:
  // Makes more of the ring's sound ready in made_; false when there was none.
  bool Make(SampleRing &ring);

  std::unique_ptr<RateConverter> converter_;
  std::vector<float> in_, made_;
  size_t inAt_ = 0, inEnd_ = 0, madeAt_ = 0, madeEnd_ = 0;
};

}  // namespace platform::wave
