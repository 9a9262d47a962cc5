#include "TunerOptions.h"

#include "base/CommandLine.h"

namespace {

using platform::device::ProgramOption;

constexpr ProgramOption kOptions[] = {
    {"precise", nullptr,
     "measure the pitch more finely than the phone did\n"
     "(within a fraction of a cent); this departs from\n"
     "the phone's estimator, whose readings are the default"},
    {"strum", nullptr,
     "show the strum check in place of the gauge: strum\n"
     "all six strings and read how far each one is off,\n"
     "\"Ok\" within 3 cents, \"?\" where it is not sure,\n"
     "after every strum (a string's pitch is its first\n"
     "partial's, read from the partials heard); the keys\n"
     "1-6 still choose a string and play its tone, and\n"
     "Up and Down still move the reference A the strings\n"
     "are read against"},
    {"tuning", "TUNING",
     "standard, drop-d, half-step-down,\n"
     "whole-step-down, drop-c, dadgad, open-d, open-g,\n"
     "open-e, open-c or six notes lowest first (MIDI\n"
     "numbers or note names apart by spaces or commas,\n"
     "as \"D2 A2 D3 G3 B3 E4\" or 38,45,50,55,59,64;\n"
     "sharps and flats accepted): the strings of the\n"
     "keys 1-6 and the menu, their reference tones and\n"
     "the strum check (default standard)"},
};

bool Check(const std::vector<std::string> &args, std::string *error) {
  TunerOptions options;
  return options.Parse(args, error);
}

}  // namespace

bool TunerOptions::Parse(const std::vector<std::string> &args, std::string *error) {
  cli::CommandLine line;
  line.Flag("precise", [this] { precise = true; });
  line.Flag("strum", [this] { strum = true; });
  line.Value("tuning", Measure::DescribeTuningChoices(), [this](const std::string &v) {
    std::string unused;
    return Measure::ParseTuning(v, &tuning, &unused);
  });
  std::vector<const char *> argv{"drovane"};
  for (const std::string &arg : args) argv.push_back(arg.c_str());
  const cli::Outcome outcome = line.Parse(static_cast<int>(argv.size()), argv.data());
  *error = line.Error();
  return outcome == cli::Outcome::kRun;
}

const platform::device::ProgramOptions &TunerCommandLine() {
  static const std::string tunings =
      "Tunings, as scientific names of the six strings, lowest first:\n" + Measure::DescribeNamedTunings();
  static const platform::device::ProgramOptions options{"The tuner's own options:", kOptions, &Check,
                                                        tunings.c_str()};
  return options;
}
