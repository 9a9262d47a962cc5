#pragma once

#include <string>

// drovane-tone's command line.
struct ToneOptions {
  double note = 0;    // MIDI note to play
  std::string out;    // WAV file to write; empty: the live speaker
  bool help = false;
  bool version = false;

  // Fills the options from argv; false with a message in `error` on a usage
  // error. Without --help or --version a string or a note is required.
  bool Parse(int argc, const char *const *argv, std::string *error);
};

extern const char kToneUsage[];
