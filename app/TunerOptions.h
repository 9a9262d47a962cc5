#pragma once

// The tuner's own options. The phone passes them to WinMain's command line
// (platform/device/ProgramCommandLine.h); without them the tuner is the
// phone's, setting for setting. To add one: a line in the table of
// TunerOptions.cpp for --help, and a line in Parse.
#include <string>
#include <vector>

#include "device/ProgramCommandLine.h"
#include "TuningOptions.h"

struct TunerOptions {
  bool precise = false;    // measure with the precise period refinement
  bool strum = false;      // the strum screen in place of the gauge
  bool strobe = false;     // the strobe screen in place of the gauge
  bool cue = false;        // clicks and a chime on the playback device while a note is heard
  TuningOptions tuning;  // the strings and temperament; the phone's standard tuning, equal, by default

  // Reads `args` as WinMain's command line holds them; false, with the usage
  // error's message, when one is unknown or bad.
  bool Parse(const std::vector<std::string> &args, std::string *error);
};

// What the device is told of them: their --help lines, and Parse as the check.
const platform::device::ProgramOptions &TunerCommandLine();
