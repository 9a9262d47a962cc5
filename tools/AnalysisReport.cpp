#include "AnalysisReport.h"

#include <cstdio>

#include "ResultFormat.h"
#include "base/CommandLine.h"
#include "base/SoundFormat.h"

namespace {

// The stream of a report, its error state cleared when it is stderr, the
// one checked here.
std::FILE *ReportStream(AnalyzeOptions::Format format) {
  if (format != AnalyzeOptions::Format::kCsv) return stdout;
  std::clearerr(stderr);
  return stderr;
}

// A report on stdout is checked with the rest of stdout, when it is closed.
bool Written(std::FILE *out) { return out == stdout || !std::ferror(out); }

}  // namespace

bool ReportCalibration(AnalyzeOptions::Format format, const std::string &input, const AnalysisSummary &s,
                       const Measure::NoteTargets &targets) {
  const bool json = format == AnalyzeOptions::Format::kJson;
  std::FILE *out = ReportStream(format);
  if (!s.stableFound) {
    if (json)
      std::fprintf(out, "{\"file\":%s,\"calibration\":null}\n", JsonString(input).c_str());
    else
      std::fprintf(out, "%s: calibration: no stable note was found\n", cli::Printable(input).c_str());
    return Written(out);
  }
  const ResultFields f = ResultFields::Of(0, 0, s.stablePitch, s.stableReference, targets);
  if (json)
    std::fprintf(out,
                 "{\"file\":%s,\"calibration\":{\"stable_note\":%.9f,\"name\":\"%s\",\"cents\":%s,"
                 "\"reference_hz\":%.3f}}\n",
                 JsonString(input).c_str(), s.stablePitch, f.name.c_str(), f.cents.c_str(), s.calibrated);
  else
    std::fprintf(out, "%s: calibration: first stable note %.3f (%s %s cents at A = %.2f Hz); new reference A = %.2f Hz\n",
                 cli::Printable(input).c_str(), s.stablePitch, f.BothNames().c_str(), f.cents.c_str(),
                 s.stableReference, s.calibrated);
  return Written(out);
}

bool ReportLiveSummary(AnalyzeOptions::Format format, const AnalysisSummary &s, const Measure::NoteTargets &targets) {
  std::FILE *out = ReportStream(format);
  const double seconds = static_cast<double>(s.samples) / drovane::kSampleRate;
  const double lost = static_cast<double>(s.overrunSamples) / drovane::kSampleRate;
  const double away = static_cast<double>(s.awaySamples) / drovane::kSampleRate;
  const auto overruns = static_cast<unsigned long long>(s.overruns);
  const ResultFields f = ResultFields::Of(0, 0, s.lastNote, s.lastReference, targets);
  if (format == AnalyzeOptions::Format::kJson) {
    std::fprintf(out,
                 "{\"summary\":{\"results\":%llu,\"seconds\":%.1f,\"overruns\":%llu,\"lost_seconds\":%.3f,"
                 "\"device_losses\":%llu,\"away_seconds\":%.1f,\"last_note\":",
                 static_cast<unsigned long long>(s.results), seconds, overruns, lost,
                 static_cast<unsigned long long>(s.losses), away);
    if (s.lastNote == 0)
      std::fputs("null}}\n", out);
    else
      std::fprintf(out, "{\"note\":%s,\"name\":\"%s\",\"cents\":%s,\"frequency_hz\":%s}}}\n", f.note.c_str(),
                   f.name.c_str(), f.cents.c_str(), f.frequency.c_str());
    return Written(out);
  }
  if (s.losses == 0)
    std::fprintf(out, "live: %llu results from %.1f s of sound; ", static_cast<unsigned long long>(s.results), seconds);
  else
    std::fprintf(out, "live: %llu results from %.1f s of sound and %.1f s without the device (lost %llu %s); ",
                 static_cast<unsigned long long>(s.results), seconds - away, away,
                 static_cast<unsigned long long>(s.losses), s.losses == 1 ? "time" : "times");
  if (s.lastNote == 0)
    std::fputs("no note was heard", out);
  else
    std::fprintf(out, "last note heard: %s %s cents (%s Hz at A = %.2f Hz)", f.BothNames().c_str(), f.cents.c_str(),
                 f.frequency.c_str(), s.lastReference);
  std::fprintf(out, "; overruns: %llu (%.3f s of sound lost)\n", overruns, lost);
  return Written(out);
}
