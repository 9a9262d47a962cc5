// drovane-tone: plays the tuner's reference tone for a string or a note.

#include <cstdio>
#include <string>

#include "ToneOptions.h"
#include "TonePlayback.h"

namespace {
constexpr char kProgram[] = "drovane-tone";
}  // namespace

int main(int argc, char **argv) {
  ToneOptions options;
  std::string error;
  if (!options.Parse(argc, argv, &error)) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", kProgram, error.c_str(), kProgram);
    return 2;
  }
  if (options.help) {
    std::fputs(kToneUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::printf("%s 1.0.0\n", kProgram);
    return 0;
  }
  if (!PlayTone(options.note, options.out, &error)) {
    std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
    return 1;
  }
  return 0;
}
