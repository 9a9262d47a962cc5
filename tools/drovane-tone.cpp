// drovane-tone: plays the tuner's reference tone for a string or a note.

#include <cstdio>
#include <string>

#include "DeviceList.h"
#include "ToneOptions.h"
#include "TonePlayback.h"
#include "base/StandardOutput.h"
#include "kernel/StopSignals.h"
#include "wave/AudioNames.h"

namespace {

constexpr char kProgram[] = "drovane-tone";

// The WAV file of --out, else the live device of --playback.
platform::wave::PlaybackSink Sink(const ToneOptions &options) {
  platform::wave::PlaybackSink sink;
  sink.kind = platform::wave::PlaybackKindOf(options.playback, &sink.device);
  if (!options.out.empty()) {
    sink.kind = platform::wave::PlaybackSink::Kind::File;
    sink.path = options.out;
  }
  return sink;
}

}  // namespace

int main(int argc, char **argv) {
  drovane::ReserveStandardStreams();
  ToneOptions options;
  std::string error;
  const cli::Outcome outcome = options.Parse(argc, argv, &error);
  if (outcome == cli::Outcome::kUsageError) return cli::ReportUsageError(kProgram, error);
  bool ok = true;
  if (outcome == cli::Outcome::kHelp)
    std::fputs(ToneUsage().c_str(), stdout);
  else if (outcome == cli::Outcome::kVersion)
    std::fputs(cli::VersionLine(kProgram).c_str(), stdout);
  else if (options.listDevices)
    ok = ListDevices(false, &error);
  else
    ok = PlayTone(options.note, Sink(options), &error);
  if (ok && !drovane::CloseStandardOutput(&error)) ok = false;
  if (!ok) std::fprintf(stderr, "%s: %s\n", kProgram, cli::Printable(error).c_str());  // it may name --out's file
  // A tone cut short by a signal ends the tool as that signal would.
  if (const int signal = platform::StopSignals::Caught(); ok && signal) platform::StopSignals::EndAs(signal);
  return ok ? 0 : 1;
}
