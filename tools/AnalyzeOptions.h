#pragma once

#include <string>
#include <vector>

#include "base/CommandLine.h"
#include "app/TuningOptions.h"

// The analyser's command line.
struct AnalyzeOptions {
  enum class Format { kTable, kCsv, kJson };

  Format format = Format::kTable;
  double reference = 440.0;  // hertz of A, set before the first sample
  bool calibrate = false;
  bool precise = false;  // the precise refinement instead of the phone's
  bool demo = false;
  bool live = false;  // the microphone, until Ctrl-C; alone
  std::string capture = "live";  // live: the device, as --capture names it
  bool listDevices = false;      // only list the capture devices
  bool strum = false;  // the strum check instead of the pitch readings
  bool cue = false;    // the tuner's cue as lines on stderr
  TuningOptions tuning;  // the strings --strum reads, and where every note is in tune
  std::vector<std::string> files;

  // Fills the options from argv; kUsageError with a message in `error`. To
  // run, at least one input is required; --live takes no other.
  cli::Outcome Parse(int argc, const char *const *argv, std::string *error);

 private:
  std::string Settle(bool csv, bool json);
};

// The answer to --help.
std::string AnalyzeUsage();
