// drovane-analyze: the tuner's pitch measurement over recordings.

#include <cstdio>
#include <memory>
#include <string>

#include "AnalyzeOptions.h"
#include "PitchAnalysis.h"
#include "ResultFormat.h"
#include "measure/MidiTypes.h"
#include "wave/DemoRecording.h"
#include "wave/SoundFileSource.h"

namespace {

constexpr char kProgram[] = "drovane-analyze";

void Fail(const std::string &input, const std::string &message) {
  std::fprintf(stderr, "%s: %s: %s\n", kProgram, input.c_str(), message.c_str());
}

void ReportCalibration(const AnalyzeOptions &options, const std::string &input, const PitchAnalysis::Summary &s) {
  const bool json = options.format == AnalyzeOptions::Format::kJson;
  std::FILE *out = options.format == AnalyzeOptions::Format::kCsv ? stderr : stdout;
  if (!s.stableFound) {
    if (json)
      std::fputs("{\"calibration\":null}\n", out);
    else
      std::fprintf(out, "%s: calibration: no stable note was found\n", input.c_str());
    return;
  }
  const ResultFields f = ResultFields::Of(0, 0, s.stablePitch, s.stableReference);
  if (json)
    std::fprintf(out, "{\"calibration\":{\"stable_note\":%.9f,\"name\":\"%s\",\"cents\":%s,\"reference_hz\":%.3f}}\n",
                 s.stablePitch, f.name.c_str(), f.cents.c_str(), s.calibrated);
  else
    std::fprintf(out, "%s: calibration: first stable note %.3f (%s %s cents at A = %.2f Hz); new reference A = %.2f Hz\n",
                 input.c_str(), s.stablePitch, f.name.c_str(), f.cents.c_str(), s.stableReference, s.calibrated);
}

// Analyses one input; false when it failed.
bool Analyse(const AnalyzeOptions &options, const std::string &input, SampleSource *source, bool first) {
  ResultFormat format(options.format, stdout);
  if (options.format == AnalyzeOptions::Format::kTable && !first) std::fputc('\n', stdout);
  format.Begin(input, options.reference);
  PitchAnalysis analysis(&format, options.reference, options.calibrate);
  const PitchAnalysis::Summary s = analysis.Run(source);
  if (!s.error.empty()) {
    Fail(input, "read error: " + s.error);
    return false;
  }
  if (s.results == 0) {
    Fail(input, "no result was produced: " + std::to_string(s.samples) +
                    " samples is shorter than the 17000 (0.77 s) the first result needs");
    return false;
  }
  if (options.calibrate) ReportCalibration(options, input, s);
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  AnalyzeOptions options;
  std::string error;
  if (!options.Parse(argc, argv, &error)) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", kProgram, error.c_str(), kProgram);
    return 2;
  }
  if (options.help) {
    std::fputs(kAnalyzeUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::printf("%s 1.0.0\n", kProgram);
    return 0;
  }
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  SetPitchNameStyle(2);  // the tuner's own naming

  bool ok = true;
  bool first = true;
  if (options.demo) {
    DemoRecording demo;
    ok = Analyse(options, "demo", &demo, first) && ok;
    first = false;
  }
  for (const std::string &file : options.files) {
    std::fflush(stdout);
    const std::unique_ptr<SoundFileSource> source = SoundFileSource::Open(file, &error);
    if (!source) {
      Fail(file, error);
      ok = false;
      continue;
    }
    ok = Analyse(options, file, source.get(), first) && ok;
    first = false;
  }
  std::fflush(stdout);
  return ok ? 0 : 1;
}
