// drovane-analyze: the tuner's pitch measurement over recordings or the
// microphone, on the program's own capture path.

#include <cstdio>
#include <string>

#include "AnalysisReport.h"
#include "AnalyzeOptions.h"
#include "CaptureAnalysis.h"
#include "ResultFormat.h"
#include "DeviceList.h"
#include "StrumAnalysis.h"
#include "base/CommandLine.h"
#include "base/StandardOutput.h"
#include "measure/MidiTypes.h"
#include "wave/AudioNames.h"
#include "wave/DemoRecording.h"
#include "wave/SoundFileRecording.h"

namespace {

constexpr char kProgram[] = "drovane-analyze";

using platform::wave::CaptureSource;

void Fail(const std::string &input, const std::string &message) {
  const std::string text = cli::Printable(input.empty() ? message : input + ": " + message);
  std::fprintf(stderr, "%s: %s\n", kProgram, text.c_str());
}

// Analyses one input, named `input` (empty for live), into `format`; false
// when it failed.
bool Analyze(const AnalyzeOptions &options, const std::string &input, const CaptureSource &source,
             ResultFormat *format) {
  const Measure::Refinement refinement = options.precise ? Measure::Refinement::kPrecise : Measure::Refinement::kPhone;
  CaptureAnalysis analysis(format, options.reference, options.calibrate, refinement, options.tuning.strings.notes);
  analysis.PushResultsWith(drovane::FlushStandardOutput);
  if (options.cue) analysis.SayCue();
  std::string error;
  if (!analysis.Open(source, &error)) {
    Fail(input, error);
    return false;
  }
  format->Begin(input.empty() ? "live" : input, options.reference);
  const AnalysisSummary s = analysis.Run();
  if (s.outputLost) return false;  // said when stdout is closed, with the reason
  if (s.nonFinite > 0)
    Fail(input, std::to_string(s.nonFinite) + " samples were not numbers (NaN or infinite) and were heard as silence");
  if (!s.error.empty()) {
    Fail(input, input.empty() ? s.error : "read error: " + s.error);
    return false;
  }
  if (options.live) {
    if (!ReportLiveSummary(options.format, s, format->Targets())) return false;
  } else if (s.results == 0) {
    Fail(input, "no result was produced: " + std::to_string(s.samples) +
                    " samples is shorter than the 17000 (0.77 s) the first result needs");
    return false;
  }
  return !options.calibrate || ReportCalibration(options.format, input.empty() ? "live" : input, s, format->Targets());
}

// A recording read straight, with no capture device: the demo or a file.
std::unique_ptr<Recording> OpenRecording(const CaptureSource &source, std::string *error) {
  if (source.kind == CaptureSource::Kind::Demo) return std::make_unique<DemoRecording>();
  return SoundFileRecording::Open(source.path, error);
}

// The strums of one recording, named `input`, into `report`; false when it
// could not be read to its end.
bool AnalyzeStrums(const AnalyzeOptions &options, const std::string &input, const CaptureSource &source,
                   StrumReport *report) {
  std::string error;
  const std::unique_ptr<Recording> recording = OpenRecording(source, &error);
  if (!recording) {
    Fail(input, error);
    return false;
  }
  report->Begin(input, options.reference, options.tuning.strings);
  StrumAnalysis analysis(report, options.tuning.Targets(), options.reference);
  const AnalysisSummary s = analysis.Run(recording.get());
  if (s.nonFinite > 0)
    Fail(input, std::to_string(s.nonFinite) + " samples were not numbers (NaN or infinite) and were heard as silence");
  if (!s.error.empty()) {
    Fail(input, "read error: " + s.error);
    return false;
  }
  if (s.results == 0) Fail(input, "no strum was found (an attack that strikes a string)");
  return true;
}

CaptureSource Source(CaptureSource::Kind kind, const std::string &path = "") {
  CaptureSource source;
  source.kind = kind;
  source.path = path;
  return source;
}

// The live device --capture names (live by default).
CaptureSource LiveSource(const std::string &word) {
  CaptureSource source;
  source.kind = platform::wave::CaptureKindOf(word, &source.device);
  return source;
}

// The inputs in turn, until one's results could not be written.
bool AnalyzeAll(const AnalyzeOptions &options) {
  ResultFormat format(options.format, stdout, options.tuning.Targets());
  StrumReport strums(options.format, stdout);
  auto one = [&](const std::string &input, const CaptureSource &source) {
    return options.strum ? AnalyzeStrums(options, input, source, &strums) : Analyze(options, input, source, &format);
  };
  if (options.live) return one("", LiveSource(options.capture));
  bool ok = !options.demo || one("demo", Source(CaptureSource::Kind::Demo));
  for (const std::string &file : options.files) {
    if (!drovane::FlushStandardOutput()) return false;
    ok = one(file, Source(CaptureSource::Kind::File, file)) && ok;
  }
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  drovane::ReserveStandardStreams();
  AnalyzeOptions options;
  std::string error;
  const cli::Outcome outcome = options.Parse(argc, argv, &error);
  if (outcome == cli::Outcome::kUsageError) return cli::ReportUsageError(kProgram, error);
  bool ok = true;
  if (outcome == cli::Outcome::kHelp) {
    std::fputs(AnalyzeUsage().c_str(), stdout);
  } else if (outcome == cli::Outcome::kVersion) {
    std::fputs(cli::VersionLine(kProgram).c_str(), stdout);
  } else if (options.listDevices) {
    ok = ListDevices(true, &error);
    if (!ok) Fail("", error);
  } else {
    // Written in bulk; live readings are pushed out as they come by a flush
    // of ours, which keeps the reason when it fails (a failed line-buffered
    // write would lose it).
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    SetPitchNameStyle(PitchNameStyle::kMixed);  // the tuner's own naming
    ok = AnalyzeAll(options);
  }
  if (!drovane::CloseStandardOutput(&error)) {
    Fail("", error);
    return 1;
  }
  return ok ? 0 : 1;
}
