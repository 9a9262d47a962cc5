#pragma once

#include <string>
#include <vector>

// The analyser's command line.
struct AnalyzeOptions {
  enum class Format { kTable, kCsv, kJson };

  Format format = Format::kTable;
  double reference = 440.0;  // hertz of A, set before the first sample
  bool calibrate = false;
  bool precise = false;  // the precise refinement instead of the phone's
  bool demo = false;
  bool live = false;  // the microphone, until Ctrl-C; alone
  bool help = false;
  bool version = false;
  std::vector<std::string> files;

  // Fills the options from argv; false with a message in `error` on a usage
  // error. Without --help or --version at least one input is required;
  // --live takes no other.
  bool Parse(int argc, const char *const *argv, std::string *error);

 private:
  bool SetFormat(Format chosen, std::string *error);
};

extern const char kAnalyzeUsage[];
