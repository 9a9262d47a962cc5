// drovane_make_recording SECONDS FILE [RATE [CHANNELS]]: writes the timing
// recording (TestRecording.h), e.g. an hour of it to time drovane-analyze by
// hand, or two hours of 44.1 kHz stereo FLAC to time the rate conversion.
#include <cstdio>
#include <cstdlib>

#include "TestRecording.h"

int main(int argc, char **argv) {
  const int rate = argc > 3 ? std::atoi(argv[3]) : test_recording::kRate;
  const int channels = argc > 4 ? std::atoi(argv[4]) : 1;
  if (argc < 3 || argc > 5 || std::atof(argv[1]) <= 0 || rate < 1 || channels < 1 || channels > 8) {
    std::fputs("usage: drovane_make_recording SECONDS FILE [RATE [CHANNELS]]\n", stderr);
    return 2;
  }
  std::string error;
  if (!test_recording::Write(argv[2], std::atof(argv[1]), &error, rate, channels)) {
    std::fprintf(stderr, "%s: %s\n", argv[2], error.c_str());
    return 1;
  }
  return 0;
}
