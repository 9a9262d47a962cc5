#include "ResultFormat.h"

#include <cmath>

#include "base/CommandLine.h"
#include "measure/MidiTypes.h"

namespace {

constexpr char kTableRow[] = "%12s %6s %14s %10s  %-10s %7s\n";

}  // namespace

ResultFields ResultFields::Of(int64_t start, int level, double note, double reference,
                              const Measure::NoteTargets &targets) {
  ResultFields f;
  f.time = TimeText(start);
  f.level = std::to_string(level);
  f.note = Fixed(note, 9);
  if (note == 0 || !std::isfinite(note)) {
    f.frequency = Fixed(0.0, 3);
    return f;
  }
  f.frequency = Fixed(FrequencyFromNote(note, reference), 3);
  const int nearest = targets.Nearest(note);
  if (nearest >= 0 && nearest <= 127) {
    f.name = TunerName(nearest);
    f.scientific = ScientificName(nearest);
  }
  f.cents = Fixed((note - targets.Target(nearest)) * 100, 2);
  return f;
}

void ResultFormat::Begin(const std::string &name, double reference) {
  if (!BeginInput(name, "file,time_s,level,note,frequency_hz,name,cents\n")) return;
  std::fprintf(out_, "%s (reference A = %.2f Hz)\n", cli::Printable(name).c_str(), reference);
  std::fprintf(out_, kTableRow, "time s", "level", "note", "Hz", "name", "cents");
}

void ResultFormat::Result(int64_t start, int level, double note, double reference) {
  const ResultFields f = ResultFields::Of(start, level, note, reference, targets_);
  switch (format_) {
    case AnalyzeOptions::Format::kCsv:
      std::fprintf(out_, "%s,%s,%s,%s,%s,%s,%s\n", file_.c_str(), f.time.c_str(), f.level.c_str(), f.note.c_str(),
                   f.frequency.c_str(), f.name.c_str(), f.cents.c_str());
      break;
    case AnalyzeOptions::Format::kJson:
      std::fprintf(out_, "{\"file\":%s,\"time_s\":%s,\"level\":%s,\"note\":%s,\"frequency_hz\":%s,\"name\":",
                   file_.c_str(), f.time.c_str(), f.level.c_str(), std::isfinite(note) ? f.note.c_str() : "null",
                   f.frequency.c_str());
      if (f.name.empty())
        std::fputs("null,\"cents\":null}\n", out_);
      else
        std::fprintf(out_, "\"%s\",\"cents\":%s}\n", f.name.c_str(), f.cents.c_str());
      break;
    case AnalyzeOptions::Format::kTable:
      if (note == 0)
        std::fprintf(out_, kTableRow, f.time.c_str(), f.level.c_str(), "-", "-", "", "");
      else
        std::fprintf(out_, kTableRow, f.time.c_str(), f.level.c_str(), f.note.c_str(), f.frequency.c_str(),
                     f.BothNames().c_str(), f.cents.c_str());
      break;
  }
}
