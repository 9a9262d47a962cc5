#pragma once

#include <string>

#include "base/CommandLine.h"

// drovane-tone's command line.
struct ToneOptions {
  double note = 0;    // MIDI note to play
  std::string out;    // WAV file to write; empty: the live speaker
  std::string playback = "live";  // the live speaker, as --playback names it
  bool listDevices = false;       // only list the output devices

  // Fills the options from argv; kUsageError with a message in `error`. To
  // run, a string or a note is required; --tuning and --temperament only
  // tune the strings.
  cli::Outcome Parse(int argc, const char *const *argv, std::string *error);
};

// The answer to --help.
std::string ToneUsage();
