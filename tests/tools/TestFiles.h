#pragma once

// Sound files written for the analyser's tests, under $DROVANE_TEST_OUTPUT.

#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

#include "TestOutput.h"

// A sound file's interleaved frames as 16-bit samples (none when it cannot
// be read); `info` receives its format when given.
inline std::vector<short> ReadSound(const std::string &path, SF_INFO *info = nullptr) {
  SF_INFO own{};
  if (!info) info = &own;
  SNDFILE *f = sf_open(path.c_str(), SFM_READ, info);
  if (!f) return {};
  std::vector<short> samples(static_cast<size_t>(info->frames * info->channels));
  sf_read_short(f, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(f);
  return samples;
}

// Writes interleaved frames, 16-bit or float, in the given container and
// sample type.
template <typename Sample = short>
inline std::string WriteSound(const std::string &name, const std::vector<Sample> &samples, int rate, int channels,
                              int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
  const std::string path = OutputPath(name);
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE *f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) return "";
  if constexpr (std::is_same_v<Sample, float>)
    sf_write_float(f, samples.data(), static_cast<sf_count_t>(samples.size()));
  else
    sf_write_short(f, samples.data(), static_cast<sf_count_t>(samples.size()));
  sf_close(f);
  return path;
}

// An A2 12 cents sharp with three overtones, 2.5 s, as a desktop file has it.
inline std::string SharpA2() {
  const double hz = 110 * std::pow(2.0, 0.12 / 12);
  std::vector<short> frames;
  for (int i = 0; i < 44100 * 5 / 2; ++i) {
    double v = 0;
    for (int k = 1; k <= 4; ++k) v += std::sin(2 * M_PI * k * hz * i / 44100) / k;
    frames.insert(frames.end(), 2, static_cast<short>(std::lround(6000 * v)));
  }
  return WriteSound("sharp-a2.wav", frames, 44100, 2);
}
