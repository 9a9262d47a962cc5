#include "ToneOptions.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

const char kToneUsage[] =
    "Usage: drovane-tone (--string N | --note MIDI) [--out FILE]\n"
    "Plays the tuner's plucked reference tone (tuned to A = 440 Hz).\n"
    "\n"
    "  --string N   guitar string 1..6, lowest first: E2 A2 D3 G3 B3 E4\n"
    "  --note MIDI  any MIDI note number, 0..127 (69 is A4)\n"
    "  --out FILE   write the tone to a 16-bit mono WAV file at 22050 Hz\n"
    "               instead of playing it on the audio output device\n"
    "  --help       show this help and exit\n"
    "  --version    show the version and exit\n"
    "\n"
    "Exit status: 0 on success, 1 if the tone could not be played or written,\n"
    "2 on a usage error.\n";

namespace {

constexpr int kStringNotes[6] = {40, 45, 50, 55, 59, 64};

// A whole number in [low, high], or a number with a fraction when `fraction`.
bool ParseNumber(const char *text, double low, double high, bool fraction, double *value) {
  char *end = nullptr;
  const double v = std::strtod(text, &end);
  if (!*text || *end || !std::isfinite(v) || v < low || v > high) return false;
  if (!fraction && v != std::floor(v)) return false;
  *value = v;
  return true;
}

}  // namespace

bool ToneOptions::Parse(int argc, const char *const *argv, std::string *error) {
  bool chosen = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool takesValue = arg == "--string" || arg == "--note" || arg == "--out";
    if (takesValue && i + 1 >= argc) {
      *error = "option '" + arg + "' needs a value";
      return false;
    }
    if (arg == "--help") {
      help = true;
    } else if (arg == "--version") {
      version = true;
    } else if (arg == "--string") {
      double n;
      if (!ParseNumber(argv[++i], 1, 6, false, &n)) {
        *error = "--string must be a string number from 1 (low E) to 6 (high E), not '" + std::string(argv[i]) + "'";
        return false;
      }
      note = kStringNotes[static_cast<int>(n) - 1];
      chosen = true;
    } else if (arg == "--note") {
      if (!ParseNumber(argv[++i], 0, 127, true, &note)) {
        *error = "--note must be a MIDI note number from 0 to 127, not '" + std::string(argv[i]) + "'";
        return false;
      }
      chosen = true;
    } else if (arg == "--out") {
      out = argv[++i];
      if (out.empty()) {
        *error = "--out needs a file name";
        return false;
      }
    } else {
      *error = "unknown argument '" + arg + "'";
      return false;
    }
  }
  if (!chosen && !help && !version) {
    *error = "choose a string (--string 1..6) or a note (--note MIDI)";
    return false;
  }
  return true;
}
