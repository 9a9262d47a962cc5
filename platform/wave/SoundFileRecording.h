#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "RateConverter.h"
#include "Recording.h"

typedef struct sf_private_tag SNDFILE;

// Any file libsndfile reads (WAV, FLAC, Ogg, AIFF, …) as 22050 Hz mono
// 16-bit: channels are averaged, other rates converted (RateConverter),
// values rounded (floor(x + 0.5)) and clipped. Samples that are not numbers
// (NaN, ±infinity, in float files) count as silence, before anything else
// touches them. A 16-bit mono file at 22050 Hz passes through bit for bit.
// Streams in fixed chunks, so pipes and FIFOs are read as they come.
class SoundFileRecording : public Recording {
 public:
  // The rates accepted: below 4 kHz too little of a guitar's sound is left
  // to measure; above the highest rate in use, converting would only cost
  // memory.
  static constexpr int kMinRate = 4000;
  static constexpr int kMaxRate = 768000;

  // Opens `path` ("-": standard input) once; on failure returns null and
  // describes why in `error` (missing, unreadable or empty file, a format
  // libsndfile cannot read, no audio, a sample rate out of range).
  static std::unique_ptr<SoundFileRecording> Open(const std::string &path, std::string *error);
  ~SoundFileRecording() override;

  size_t Read(int16_t *out, size_t max) override;
  const char *Error() const override { return error_.c_str(); }
  uint64_t NonFiniteSamples() const override { return nonFinite_; }

  int FileRate() const { return rate_; }
  int FileChannels() const { return channels_; }
  // True when samples are handed on exactly as stored.
  bool PassThrough() const { return passThrough_; }

 private:
  SoundFileRecording(SNDFILE *file, int rate, int channels, bool passThrough);
  size_t ReadConverted(int16_t *out, size_t max);
  size_t ReadResampled(int16_t *out, size_t max);
  // Next chunk of the file mixed to mono into `mono_`; false at the end.
  bool FillMono();

  SNDFILE *file_;
  std::unique_ptr<RateConverter> converter_;
  int rate_, channels_;
  bool passThrough_;
  bool endOfFile_ = false;
  uint64_t nonFinite_ = 0;
  std::string error_;
  std::vector<double> frames_;
  std::vector<float> mono_;
  size_t monoUsed_ = 0;
  std::vector<float> resampled_;
};
