// drovane_make_recording SECONDS FILE: writes the timing recording
// (TestRecording.h), e.g. an hour of it to time drovane-analyze by hand.
#include <cstdio>
#include <cstdlib>

#include "TestRecording.h"

int main(int argc, char **argv) {
  if (argc != 3 || std::atof(argv[1]) <= 0) {
    std::fputs("usage: drovane_make_recording SECONDS FILE\n", stderr);
    return 2;
  }
  std::string error;
  if (!test_recording::Write(argv[2], std::atof(argv[1]), &error)) {
    std::fprintf(stderr, "%s: %s\n", argv[2], error.c_str());
    return 1;
  }
  return 0;
}
