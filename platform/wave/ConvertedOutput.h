#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "wave/RateConverter.h"
#include "wave/SampleRing.h"

namespace platform::wave {

// The program's 16-bit sound at 22050 Hz into a live playback device's ring,
// as the device's floats at its rate, in one step (libsoxr converts the rate
// at a fixed ratio; a device at 22050 Hz takes it as it is). A position in
// the stream taken in maps to a position in the ring, so a buffer has been
// played when the device has taken the ring up to its end. The converter
// holds back the last few milliseconds of what it was given until more
// comes: Drain lets them out, with silence behind, for when nothing more
// comes in time. Program thread.
class ConvertedOutput {
 public:
  // A new device at `rate` whose ring starts at stream position `from`;
  // false, with the reason, when it cannot be converted.
  bool Begin(int rate, uint64_t from, std::string *error);
  // Takes up to `count` samples of `in` (any alignment) as far as the ring
  // has room for them; returns how many it took.
  size_t Write(SampleRing &ring, const void *in, size_t count);
  // Lets out what the converter holds of what was written, with silence
  // after it, as far as the ring has room; returns the samples of silence
  // taken in (stream positions too).
  size_t Drain(SampleRing &ring);

  // The ring position (samples of the device since Begin) of stream position `p`.
  uint64_t RingPosition(uint64_t p) const;
  // The stream position the device has played to when it took `ring` samples.
  uint64_t StreamPosition(uint64_t ring) const;

 private:
  bool Flush(SampleRing &ring);
  size_t Convert(const void *in, size_t count);

  int rate_ = 0;
  uint64_t from_ = 0;
  std::unique_ptr<RateConverter> converter_;
  std::vector<float> in_, made_;
  size_t madeAt_ = 0, madeEnd_ = 0;
  uint64_t taken_ = 0;      // stream samples taken in since Begin, silence included
  uint64_t real_ = 0;       // of which the last written by the program ends here
  uint64_t madeTotal_ = 0;  // ring samples the converter made
};

}  // namespace platform::wave
