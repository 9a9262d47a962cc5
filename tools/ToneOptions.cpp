#include "ToneOptions.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "measure/MidiTypes.h"

const char kToneUsage[] =
    "Usage: drovane-tone (--string N | --note MIDI) [--out FILE]\n"
    "Plays the tuner's plucked reference tone (tuned to A = 440 Hz).\n"
    "\n"
    "  --string N     guitar string 1..6, lowest first: E-2 A-2 D-1 G-1 B-1 E1\n"
    "                 (E2 A2 D3 G3 B3 E4 in scientific pitch notation)\n"
    "  --note MIDI    a MIDI note number (69 is the A of 440 Hz); a fraction\n"
    "                 plays between the notes, 45.5 being a quarter tone above\n"
    "                 A-2 (A2). From 0 to below 124.77, where the fundamental\n"
    "                 reaches 11025 Hz, the highest a 22050 Hz tone can carry\n"
    "  --out FILE     write the tone to a 16-bit mono WAV file at 22050 Hz\n"
    "                 instead of playing it on the audio output device\n"
    "  -h, --help     show this help and exit\n"
    "  -V, --version  show the version and exit\n"
    "\n"
    "Note names are the tuner's own: octaves are labelled ... -2, -1, 1, 2 ...\n"
    "with no octave 0, so the low E string is E-2, middle C (60) is C1 and the\n"
    "A of 440 Hz (69) is A1; in scientific pitch notation E2, C4 and A4.\n"
    "\n"
    "Exit status: 0 on success, 1 if the tone could not be played or written,\n"
    "2 on a usage error.\n";

namespace {

constexpr int kStringNotes[6] = {40, 45, 50, 55, 59, 64};
constexpr double kNyquist = 22050 / 2.0;

// A whole number in [low, high], or a number with a fraction when `fraction`.
bool ParseNumber(const char *text, double low, double high, bool fraction, double *value) {
  char *end = nullptr;
  const double v = std::strtod(text, &end);
  if (!*text || *end || !std::isfinite(v) || v < low || v > high) return false;
  if (!fraction && v != std::floor(v)) return false;
  *value = v;
  return true;
}

// A note the tone can carry: a number from 0 whose fundamental lies below
// the Nyquist frequency.
bool ParseNote(const char *text, double *note, std::string *error) {
  if (!ParseNumber(text, 0, 127, true, note)) {
    *error = "--note must be a MIDI note number from 0 to below 124.77, not '" + std::string(text) + "'";
    return false;
  }
  const double hertz = FrequencyFromNote(*note, 440.0);
  if (hertz >= kNyquist) {
    char message[200];
    std::snprintf(message, sizeof message,
                  "--note %s is too high: its fundamental, %.0f Hz, is at or above %.0f Hz, the highest a "
                  "22050 Hz tone can carry (notes below 124.77)",
                  text, hertz, kNyquist);
    *error = message;
    return false;
  }
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
    if (arg == "--help" || arg == "-h") {
      help = true;
    } else if (arg == "--version" || arg == "-V") {
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
      if (!ParseNote(argv[++i], &note, error)) return false;
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
