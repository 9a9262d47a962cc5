#pragma once

// The holes in a recorded sound: runs of samples that are exactly zero
// between its first and last sound. A converter or a JACK port gives exact
// zeros only where nothing was played, never inside a tone, so a run of a
// millisecond or more is sound that was not played.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdio>
#include <string>
#include <vector>

struct RecordedSilences {
  bool read = false;  // the file could be read
  double rate = 0;
  double first = 0, last = 0;     // seconds: where the sound begins and ends
  std::vector<double> at, length;  // each hole's start and length, in seconds
};

inline RecordedSilences SilencesIn(const std::string &path) {
  RecordedSilences s;
  SF_INFO info{};
  SNDFILE *file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return s;
  std::vector<float> frames(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
  s.read = sf_readf_float(file, frames.data(), info.frames) == info.frames;
  sf_close(file);
  s.rate = info.samplerate;
  std::vector<float> mono;
  for (size_t i = 0; i < frames.size(); i += static_cast<size_t>(info.channels)) mono.push_back(frames[i]);
  size_t begin = 0, end = mono.size();
  while (begin < end && mono[begin] == 0.0f) ++begin;
  while (end > begin && mono[end - 1] == 0.0f) --end;
  s.first = begin / s.rate;
  s.last = end / s.rate;
  const size_t shortest = static_cast<size_t>(s.rate / 1000);
  for (size_t i = begin; i < end;) {
    size_t j = i;
    while (j < end && mono[j] == 0.0f) ++j;
    if (j - i >= shortest) {
      s.at.push_back(i / s.rate);
      s.length.push_back((j - i) / s.rate);
    }
    i = j + 1;
  }
  return s;
}

// A recording of the 3 s reference tone holds it whole: the sound of it, and
// not a hole inside it. Prints where it lies as a figure.
inline void ExpectTheToneWhole(const std::string &path) {
  const RecordedSilences silences = SilencesIn(path);
  ASSERT_TRUE(silences.read) << path;
  std::printf("the tone from %.3f s to %.3f s of the recording, with %zu holes\n", silences.first, silences.last,
              silences.at.size());
  EXPECT_GT(silences.last - silences.first, 2.5) << "the 3 s tone";
  for (size_t i = 0; i < silences.at.size(); ++i)
    ADD_FAILURE() << "a hole of " << 1000 * silences.length[i] << " ms at " << silences.at[i] << " s";
}
