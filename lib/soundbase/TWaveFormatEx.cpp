#include "TWaveFormatEx.h"

#include "base/SoundFormat.h"
#include "general/CheckSites.h"

TWaveFormatEx::TWaveFormatEx() : WAVEFORMATEX() { wFormatTag = WAVE_FORMAT_PCM; }

TWaveFormatEx TWaveFormatEx::Default() {
  TWaveFormatEx f;
  f.nChannels = 1;
  f.nSamplesPerSec = drovane::kSampleRate;
  f.nAvgBytesPerSec = drovane::kBytesPerSecond;
  f.nBlockAlign = drovane::kBytesPerSample;
  f.wBitsPerSample = drovane::kBitsPerSample;
  f.cbSize = 0;
  return f;
}

int64_t TWaveFormatEx::SampleSizeToSampleCount(uint32_t bytes) const {
  // A zero alignment (a format never set) counts no samples instead of
  // dividing by zero.
  const bool whole = nBlockAlign != 0 && bytes % nBlockAlign == 0;
  Check(whole, CheckSites::kPartialSample);
  return nBlockAlign ? bytes / nBlockAlign : 0;
}

uint32_t TWaveFormatEx::TimeToBytes(int64_t time) const {
  const double rate = static_cast<double>(nSamplesPerSec) * nBlockAlign;
  const auto bytes = static_cast<uint32_t>(rate * 1e-7 * static_cast<double>(time) + 0.5);
  return nBlockAlign ? bytes - bytes % nBlockAlign : bytes;
}

int64_t TWaveFormatEx::SamplesToTime(int64_t samples) const {
  return static_cast<int64_t>(static_cast<double>(samples) * 1e7 / nSamplesPerSec + 0.5);
}

int64_t TWaveFormatEx::TimeToSamples(int64_t time) const {
  return static_cast<int64_t>(static_cast<double>(nSamplesPerSec) * 1e-7 * static_cast<double>(time) + 0.5);
}
