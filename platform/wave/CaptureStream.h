#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::wave {

// What a clock-paced capture device hears: an endless stream of 16-bit mono
// samples at 22050 per second, read in order. Used on the program thread only.
class CaptureStream {
 public:
  virtual ~CaptureStream() = default;
  virtual void Read(int16_t *out, size_t count) = 0;
  // Passes over samples nobody was recording.
  virtual void Skip(size_t count);
};

class SilenceStream : public CaptureStream {
 public:
  void Read(int16_t *out, size_t count) override;
  void Skip(size_t) override {}
};

// A steady sine; each sample is computed from its index, so the pitch never drifts.
class ToneStream : public CaptureStream {
 public:
  ToneStream(double hz, double amplitude) : hz_(hz), amplitude_(amplitude) {}
  void Read(int16_t *out, size_t count) override;
  void Skip(size_t count) override { index_ += count; }

 private:
  double hz_;
  double amplitude_;  // 0..1 of full scale
  uint64_t index_ = 0;
};

}  // namespace platform::wave
