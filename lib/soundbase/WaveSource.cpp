#include "WaveSource.h"

void WaveSource::Reset() {
  endTime = 0;
  sampleTotal = format.TimeToSamples(0);
}

int64_t WaveSource::Advance(int64_t samples) {
  const int64_t start = endTime;
  sampleTotal += samples;
  endTime = format.SamplesToTime(sampleTotal);
  return start;
}
