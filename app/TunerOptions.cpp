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
     "\"Ok\" within 3 cents, after every strum; the keys\n"
     "1-6 still choose a string and play its tone, and\n"
     "Up and Down still move the reference A the strings\n"
     "are read against"},
    {"tuning", "TUNING",
     "standard, drop-d, half-step-down,\n"
     "whole-step-down, drop-c, dadgad, open-d, open-g,\n"
     "open-e, open-c or six notes lowest first (below),\n"
     "as \"D2 A2 D3 G3 B3 E4\", \"D-2 A-2 D-1 G-1 B-1 E1\" or\n"
     "38,45,50,55,59,64: the strings of the keys 1-6 and\n"
     "the menu, their reference tones and the strum\n"
     "check (default standard)"},
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
  line.Checked("tuning", Measure::DescribeTuningChoices(), [this](const std::string &v, std::string *why) {
    return Measure::ParseTuning(v, &tuning, why);
  });
  std::vector<const char *> argv{"drovane"};
  for (const std::string &arg : args) argv.push_back(arg.c_str());
  const cli::Outcome outcome = line.Parse(static_cast<int>(argv.size()), argv.data());
  *error = line.Error();
  return outcome == cli::Outcome::kRun;
}

const platform::device::ProgramOptions &TunerCommandLine() {
  static const std::string tunings =
      "Tunings, as scientific names of the six strings, lowest first:\n" + Measure::DescribeNamedTunings() + "\n" +
      Measure::DescribeTuningRules();
  static const platform::device::ProgramOptions options{"The tuner's own options:", kOptions, &Check,
                                                        tunings.c_str()};
  return options;
}
