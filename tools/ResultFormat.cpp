#include "ResultFormat.h"

#include <charconv>
#include <cinttypes>
#include <cmath>

#include "base/CommandLine.h"
#include "base/Utf8.h"
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

// Scientific pitch notation numbers octaves from C, with middle C (60) in 4.
std::string ScientificName(int note) { return Narrow(GetPitchShortName(note)) + std::to_string(note / 12 - 1); }

// A CSV field (RFC 4180), made printable first: quoted, with quotes
// doubled, when it holds a comma or a quote; with no line break left, every
// row is one line.
std::string CsvField(const std::string &text) {
  const std::string printable = cli::Printable(text);
  if (printable.find_first_of(",\"") == std::string::npos) return printable;
  std::string quoted = "\"";
  for (char c : printable) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

constexpr char kTableRow[] = "%12s %6s %14s %10s  %-10s %7s\n";

}  // namespace

std::string JsonString(const std::string &text) {
  std::string quoted = "\"";
  drovane::ForEachUtf8Sequence(text, [&quoted](const drovane::Utf8Sequence &s, std::string_view bytes) {
    if (!s.valid) {
      quoted += "\\ufffd";
    } else if (s.code == '"' || s.code == '\\') {
      quoted += '\\';
      quoted += bytes;
    } else if (drovane::IsControl(s.code)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(s.code));
      quoted += escaped;
    } else {
      quoted += bytes;
    }
  });
  return quoted + "\"";
}

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
  if (nearest >= 0 && nearest <= 127) {
    f.name = Narrow(GetPitchName(static_cast<int>(nearest)));
    f.scientific = ScientificName(static_cast<int>(nearest));
  }
  f.cents = Fixed((note - nearest) * 100, 2);
  return f;
}

void ResultFormat::Begin(const std::string &name, double reference) {
  const bool first = !begun_;
  begun_ = true;
  switch (format_) {
    case AnalyzeOptions::Format::kCsv:
      file_ = CsvField(name);
      if (first) std::fputs("file,time_s,level,note,frequency_hz,name,cents\n", out_);
      break;
    case AnalyzeOptions::Format::kJson:
      file_ = JsonString(name);
      break;
    case AnalyzeOptions::Format::kTable:
      if (!first) std::fputc('\n', out_);
      std::fprintf(out_, "%s (reference A = %.2f Hz)\n", cli::Printable(name).c_str(), reference);
      std::fprintf(out_, kTableRow, "time s", "level", "note", "Hz", "name", "cents");
      break;
  }
}

void ResultFormat::Result(int64_t start, int level, double note, double reference) {
  const ResultFields f = ResultFields::Of(start, level, note, reference);
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
