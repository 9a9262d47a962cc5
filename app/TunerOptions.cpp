#include "TunerOptions.h"

#include "base/CommandLine.h"

namespace {

using platform::device::ProgramOption;

constexpr ProgramOption kOptions[] = {
    {"precise", nullptr,
     "measure the pitch more finely than the phone did\n"
     "(within a fraction of a cent); this departs from\n"
     "the phone's estimator, whose readings are the default"},
};

bool Check(const std::vector<std::string> &args, std::string *error) {
  TunerOptions options;
  return options.Parse(args, error);
}

}  // namespace

bool TunerOptions::Parse(const std::vector<std::string> &args, std::string *error) {
  cli::CommandLine line;
  line.Flag("precise", [this] { precise = true; });
  std::vector<const char *> argv{"drovane"};
  for (const std::string &arg : args) argv.push_back(arg.c_str());
  const cli::Outcome outcome = line.Parse(static_cast<int>(argv.size()), argv.data());
  *error = line.Error();
  return outcome == cli::Outcome::kRun;
}

const platform::device::ProgramOptions &TunerCommandLine() {
  static const platform::device::ProgramOptions options{"The tuner's own options:", kOptions, &Check};
  return options;
}
