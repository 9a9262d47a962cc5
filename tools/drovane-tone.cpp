// drovane-tone: plays the tuner's reference tone for a string or a note.

#include <cstdio>
#include <string>

#include "StandardOutput.h"
#include "ToneOptions.h"
#include "TonePlayback.h"

namespace {
constexpr char kProgram[] = "drovane-tone";
}  // namespace

int main(int argc, char **argv) {
  ReserveStandardStreams();
  ToneOptions options;
  std::string error;
  if (!options.Parse(argc, argv, &error)) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", kProgram, error.c_str(), kProgram);
    return 2;
  }
  bool ok = true;
  if (options.help)
    std::fputs(kToneUsage, stdout);
  else if (options.version)
    std::printf("%s 1.0.0\n", kProgram);
  else
    ok = PlayTone(options.note, options.out, &error);
  if (ok && !CloseStandardOutput(&error)) ok = false;
  if (!ok) std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
  return ok ? 0 : 1;
}
