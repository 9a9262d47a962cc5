#include "ResultFormat.h"

#include <charconv>
#include <cinttypes>
#include <cmath>

#include "measure/MidiTypes.h"

namespace {

// Fixed-point text, exactly as printf's %.Nf prints it, but faster.
std::string Fixed(double v, int digits) {
  char text[400];
  const std::to_chars_result r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, digits);
  return std::string(text, r.ptr);
}

// The names are ASCII, so each wide character narrows as it is.
std::string Narrow(const wchar_t *w) {
  std::string s;
  while (*w) s += static_cast<char>(*w++);
  return s;
}

}  // namespace

ResultFields ResultFields::Of(int64_t start, int level, double note, double reference) {
  ResultFields f;
  char time[48];
  std::snprintf(time, sizeof time, "%" PRId64 ".%07" PRId64, start / 10000000, start % 10000000);
  f.time = time;
  f.level = std::to_string(level);
  f.note = Fixed(note, 9);
  if (note == 0 || !std::isfinite(note)) {
    f.frequency = Fixed(0.0, 3);
    return f;
  }
  f.frequency = Fixed(FrequencyFromNote(note, reference), 3);
  const double nearest = std::floor(note + 0.5);
  if (nearest >= 0 && nearest <= 127) f.name = Narrow(GetPitchName(static_cast<int>(nearest)));
  f.cents = Fixed((note - nearest) * 100, 2);
  return f;
}

void ResultFormat::Begin(const std::string &name, double reference) {
  if (format_ == AnalyzeOptions::Format::kCsv) {
    std::fputs("time_s,level,note,frequency_hz,name,cents\n", out_);
  } else if (format_ == AnalyzeOptions::Format::kTable) {
    std::fprintf(out_, "%s (reference A = %.2f Hz)\n", name.c_str(), reference);
    std::fprintf(out_, "%12s %6s %14s %10s %5s %8s\n", "time s", "level", "note", "Hz", "name", "cents");
  }
}

void ResultFormat::Result(int64_t start, int level, double note, double reference) {
  const ResultFields f = ResultFields::Of(start, level, note, reference);
  switch (format_) {
    case AnalyzeOptions::Format::kCsv:
      std::fprintf(out_, "%s,%s,%s,%s,%s,%s\n", f.time.c_str(), f.level.c_str(), f.note.c_str(), f.frequency.c_str(),
                   f.name.c_str(), f.cents.c_str());
      break;
    case AnalyzeOptions::Format::kJson:
      std::fprintf(out_, "{\"time_s\":%s,\"level\":%s,\"note\":%s,\"frequency_hz\":%s,\"name\":", f.time.c_str(),
                   f.level.c_str(), std::isfinite(note) ? f.note.c_str() : "null", f.frequency.c_str());
      if (f.name.empty())
        std::fputs("null,\"cents\":null}\n", out_);
      else
        std::fprintf(out_, "\"%s\",\"cents\":%s}\n", f.name.c_str(), f.cents.c_str());
      break;
    case AnalyzeOptions::Format::kTable:
      if (note == 0)
        std::fprintf(out_, "%12s %6s %14s %10s %5s %8s\n", f.time.c_str(), f.level.c_str(), "-", "-", "", "");
      else
        std::fprintf(out_, "%12s %6s %14s %10s %5s %8s\n", f.time.c_str(), f.level.c_str(), f.note.c_str(),
                     f.frequency.c_str(), f.name.c_str(), f.cents.c_str());
      break;
  }
}
