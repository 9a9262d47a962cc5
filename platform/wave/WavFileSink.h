#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "wave/SoundSink.h"

namespace platform::wave {

// Writes what is played to a 16-bit mono WAV file at 22050 samples/s. The
// header goes first, and again with the length once the sink is destroyed
// (when the device closes). A write that fails (a full disk) stops the
// writing: the file keeps the samples written before it, finalised like any
// other, and `status` says so at once. A FIFO (or any output that cannot be
// rewound) gets the header with the length unknown, as streaming writers
// give it, and a FIFO that nobody reads is refused at the open.
class WavFileSink : public SoundSink {
 public:
  // Check Ok() after construction; Error() says why it failed. `status` may
  // be null.
  WavFileSink(const std::string &path, std::shared_ptr<WriteStatus> status);
  ~WavFileSink() override;
  WavFileSink(const WavFileSink &) = delete;
  WavFileSink &operator=(const WavFileSink &) = delete;

  bool Ok() const { return fd_ >= 0; }
  const std::string &Error() const { return error_; }

  void Play(const int16_t *samples, size_t count) override;

 private:
  void Fail(const std::string &reason);

  int fd_ = -1;
  bool rewindable_ = false;  // a regular file, whose header can be written again
  bool failed_ = false;
  uint64_t samples_ = 0;
  std::string path_;
  std::string error_;
  std::shared_ptr<WriteStatus> status_;
};

}  // namespace platform::wave
