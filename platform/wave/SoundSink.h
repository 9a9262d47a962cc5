#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

typedef struct sf_private_tag SNDFILE;

namespace platform::wave {

// What became of a written file, known once its sink has been destroyed.
struct WriteStatus {
  std::string error;  // why writing failed (the unfinished file is removed); empty if all was written
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

// Writes what is played to a 16-bit mono WAV file at 22050 samples/s; the
// file is complete once the sink is destroyed (when the device closes). A
// write that fails (a full disk) stops the writing; the sink then removes
// the file, if it is a regular one, and says why in `status`.
class WavFileSink : public SoundSink {
 public:
  // Check Ok() after construction; Error() says why it failed. `status` may
  // be null.
  WavFileSink(const std::string &path, std::shared_ptr<WriteStatus> status);
  ~WavFileSink() override;
  WavFileSink(const WavFileSink &) = delete;
  WavFileSink &operator=(const WavFileSink &) = delete;

  bool Ok() const { return file_ != nullptr; }
  const std::string &Error() const { return error_; }

  void Play(const int16_t *samples, size_t count) override;

 private:
  void Fail(const std::string &reason);

  SNDFILE *file_ = nullptr;
  std::string path_;
  std::string error_;
  std::shared_ptr<WriteStatus> status_;
  bool failed_ = false;
};

}  // namespace platform::wave
