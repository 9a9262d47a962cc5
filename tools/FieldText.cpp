#include "FieldText.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>

#include "base/CommandLine.h"
#include "base/Utf8.h"
#include "measure/MidiTypes.h"
#include "measure/NoteName.h"

namespace {

bool Named(int note) { return note >= 0 && note <= 127; }

}  // namespace

// Faster than printf, to the same digit.
std::string Fixed(double v, int digits) {
  char text[400];
  const std::to_chars_result r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, digits);
  return std::string(text, r.ptr);
}

std::string TimeText(int64_t time) {
  char text[48];
  std::snprintf(text, sizeof text, "%" PRId64 ".%07" PRId64, time / 10000000, time % 10000000);
  return text;
}

// The names are ASCII, so each wide character narrows as it is.
std::string TunerName(int note) {
  if (!Named(note)) return "";
  std::string name;
  for (const wchar_t *w = GetPitchName(note); *w; ++w) name += static_cast<char>(*w);
  return name;
}

std::string ScientificName(int note) { return Named(note) ? Measure::ScientificName(note) : ""; }

std::string BothNames(int note) { return Named(note) ? TunerName(note) + " (" + ScientificName(note) + ")" : ""; }

std::string CsvField(const std::string &text) {
  const std::string printable = cli::Printable(text);
  if (printable.find_first_of(",\"") == std::string::npos) return printable;
  std::string quoted = "\"";
  for (char c : printable) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

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
