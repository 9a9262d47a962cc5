#pragma once

// A long recording for timing the analyser: the six open strings plucked in
// turn, two seconds each, slightly out of tune, with a little hiss, written
// as a 16-bit mono WAV at 22050 Hz.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace test_recording {

constexpr int kRate = 22050;

// Sample `i`, from its index alone; `noise` carries the hiss generator.
inline short Sample(uint64_t i, uint32_t *noise) {
  constexpr double kStrings[6] = {82.41, 110.0, 146.83, 196.0, 246.94, 329.63};
  const uint64_t pluck = i / (2 * kRate);
  const double t = static_cast<double>(i % (2 * kRate)) / kRate;
  const double f = kStrings[pluck % 6] * (1 + 0.002 * static_cast<double>(pluck % 5));
  double v = 0;
  for (int h = 1; h <= 6; ++h) v += std::sin(2 * M_PI * f * h * t) * std::exp(-t * (1.5 + h)) / h;
  *noise = *noise * 1664525u + 1013904223u;
  const double hiss = (static_cast<double>(*noise >> 16) / 65536.0 - 0.5) * 200;
  return static_cast<short>(std::lround(9000 * v + hiss));
}

// Writes `seconds` of it to `path`; false (with libsndfile's reason in
// `error`) if the file cannot be written.
inline bool Write(const std::string &path, double seconds, std::string *error) {
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) {
    *error = sf_strerror(nullptr);
    return false;
  }
  const auto total = static_cast<uint64_t>(seconds * kRate);
  std::vector<short> block(kRate);
  uint32_t noise = 1;
  for (uint64_t done = 0; done < total;) {
    const uint64_t n = std::min<uint64_t>(block.size(), total - done);
    for (uint64_t k = 0; k < n; ++k) block[k] = Sample(done + k, &noise);
    sf_write_short(file, block.data(), static_cast<sf_count_t>(n));
    done += n;
  }
  sf_close(file);
  return true;
}

}  // namespace test_recording
