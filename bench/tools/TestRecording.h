#pragma once

// A long recording for timing the analyser: the six open strings plucked in
// turn, two seconds each, slightly out of tune, with a little hiss, written
// as 16-bit WAV (or FLAC, for a name ending in ".flac"), 22050 Hz mono unless
// told otherwise.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace test_recording {

constexpr int kRate = 22050;

// Sample `i` at `rate`, from its index alone; `noise` carries the hiss
// generator.
inline short Sample(uint64_t i, int rate, uint32_t *noise) {
  constexpr double kStrings[6] = {82.41, 110.0, 146.83, 196.0, 246.94, 329.63};
  const uint64_t pluck = i / (2 * static_cast<uint64_t>(rate));
  const double t = static_cast<double>(i % (2 * static_cast<uint64_t>(rate))) / rate;
  const double f = kStrings[pluck % 6] * (1 + 0.002 * static_cast<double>(pluck % 5));
  double v = 0;
  for (int h = 1; h <= 6; ++h) v += std::sin(2 * M_PI * f * h * t) * std::exp(-t * (1.5 + h)) / h;
  *noise = *noise * 1664525u + 1013904223u;
  const double hiss = (static_cast<double>(*noise >> 16) / 65536.0 - 0.5) * 200;
  return static_cast<short>(std::lround(9000 * v + hiss));
}

// Writes `seconds` of it to `path`, each channel with its own hiss; false
// (with libsndfile's reason in `error`) if the file cannot be written.
inline bool Write(const std::string &path, double seconds, std::string *error, int rate = kRate, int channels = 1) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = (path.ends_with(".flac") ? SF_FORMAT_FLAC : SF_FORMAT_WAV) | SF_FORMAT_PCM_16;
  SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) {
    *error = sf_strerror(nullptr);
    return false;
  }
  const auto total = static_cast<uint64_t>(seconds * rate);
  std::vector<short> block(static_cast<size_t>(rate) * channels);
  uint32_t noise = 1;
  bool ok = true;
  for (uint64_t done = 0; done < total && ok;) {
    const uint64_t n = std::min<uint64_t>(rate, total - done);
    for (uint64_t k = 0; k < n * channels; ++k) block[k] = Sample(done + k / channels, rate, &noise);
    ok = sf_writef_short(file, block.data(), static_cast<sf_count_t>(n)) == static_cast<sf_count_t>(n);
    done += n;
  }
  if (!ok) *error = sf_strerror(file);
  if (sf_close(file) != 0 && ok) {
    *error = "the file could not be completed";
    ok = false;
  }
  return ok;
}

}  // namespace test_recording
