#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::wave {

// What became of a written file, told as it happens.
struct WriteStatus {
  bool opened = false;  // a device opened it (a failed open is said where it was opened)
  // Why writing stopped, with what the file kept; empty while all is written.
  std::string error;
};

// Where a clock-paced playback device's sound goes: exactly the samples of
// the buffers played, in the order played, with nothing for the time the
// device ran dry between them. Program thread only.
class SoundSink {
 public:
  virtual ~SoundSink() = default;
  virtual void Play(const int16_t *samples, size_t count) = 0;
};

class NullSink : public SoundSink {
 public:
  void Play(const int16_t *, size_t) override {}
};

}  // namespace platform::wave
