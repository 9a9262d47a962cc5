#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <sndfile.h>

namespace platform::wave {

// Where a clock-paced playback device's sound goes, in the order played.
// Program thread only.
class SoundSink {
 public:
  virtual ~SoundSink() = default;
  virtual void Play(const int16_t *samples, size_t count) = 0;
  // The device ran dry for `count` samples' time between two buffers.
  virtual void Silence(size_t count) = 0;
};

class NullSink : public SoundSink {
 public:
  void Play(const int16_t *, size_t) override {}
  void Silence(size_t) override {}
};

// Writes what is played to a 16-bit mono WAV file at 22050 samples/s; the
// file is complete once the sink is destroyed (when the device closes).
class WavFileSink : public SoundSink {
 public:
  // Check Ok() after construction; Error() says why it failed.
  explicit WavFileSink(const std::string &path);
  ~WavFileSink() override;
  WavFileSink(const WavFileSink &) = delete;
  WavFileSink &operator=(const WavFileSink &) = delete;

  bool Ok() const { return file_ != nullptr; }
  const std::string &Error() const { return error_; }

  void Play(const int16_t *samples, size_t count) override;
  void Silence(size_t count) override;

 private:
  SNDFILE *file_ = nullptr;
  std::string error_;
};

}  // namespace platform::wave
