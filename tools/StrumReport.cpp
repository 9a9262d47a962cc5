#include "StrumReport.h"

#include "FieldText.h"
#include "base/CommandLine.h"
#include "base/SoundFormat.h"
#include "measure/MeasurerBase.h"

namespace {

constexpr char kTableRow[] = "%12s %6s  %-10s %5s %10s  %-10s %7s %10s\n";

// The fields of a string's row, as text.
struct Fields {
  std::string target, frequency, name, cents;
};

Fields Of(int target, const Strum::StringReading &s) {
  Fields f{TunerName(target), Fixed(s.heard ? s.hertz : 0.0, 3), "", ""};
  if (s.heard) f.name = TunerName(s.nearest), f.cents = Fixed(s.cents, 2);
  return f;
}

}  // namespace

void StrumReport::Begin(const std::string &name, double reference, const Measure::Tuning &tuning) {
  first_ = true;
  tuning_ = tuning;
  if (!BeginInput(name, "file,time_s,string,target,heard,frequency_hz,name,cents,confidence\n")) return;
  std::fprintf(out_, "%s (reference A = %.2f Hz, tuning %s)\n", cli::Printable(name).c_str(), reference,
               Measure::DescribeNotes(tuning).c_str());
  std::fprintf(out_, kTableRow, "time s", "string", "target", "heard", "Hz", "name", "cents", "confidence");
}

void StrumReport::Strum(const Strum::StrumReading &reading) {
  // The onset's time as the tuner times its readings: 100 ns units from the
  // first sample.
  const std::string time =
      TimeText(Measure::MeasurerBase::TimeFromBytes(reading.onset * drovane::kBytesPerSample));
  if (format_ == AnalyzeOptions::Format::kTable && !first_) std::fputc('\n', out_);
  first_ = false;
  for (int i = 0; i < reading.count; ++i) Row(time, i + 1, reading.strings[i]);
}

void StrumReport::Row(const std::string &time, int string, const Strum::StringReading &s) {
  const int target = tuning_.notes[string - 1];
  const Fields f = Of(target, s);
  const std::string confidence = Fixed(s.confidence, 2);
  switch (format_) {
    case AnalyzeOptions::Format::kCsv:
      std::fprintf(out_, "%s,%s,%d,%s,%s,%s,%s,%s,%s\n", file_.c_str(), time.c_str(), string, f.target.c_str(),
                   s.heard ? "1" : "0", f.frequency.c_str(), f.name.c_str(), f.cents.c_str(), confidence.c_str());
      break;
    case AnalyzeOptions::Format::kJson:
      std::fprintf(out_, "{\"file\":%s,\"time_s\":%s,\"string\":%d,\"target\":\"%s\",\"heard\":%s,\"frequency_hz\":%s,"
                   "\"name\":", file_.c_str(), time.c_str(), string, f.target.c_str(), s.heard ? "true" : "false",
                   f.frequency.c_str());
      if (s.heard)
        std::fprintf(out_, "\"%s\",\"cents\":%s", f.name.c_str(), f.cents.c_str());
      else
        std::fputs("null,\"cents\":null", out_);
      std::fprintf(out_, ",\"confidence\":%s}\n", confidence.c_str());
      break;
    case AnalyzeOptions::Format::kTable:
      std::fprintf(out_, kTableRow, time.c_str(), std::to_string(string).c_str(), BothNames(target).c_str(),
                   s.heard ? "yes" : s.unsure ? "?" : "no", s.heard ? f.frequency.c_str() : "-",
                   s.heard ? BothNames(s.nearest).c_str() : "", f.cents.c_str(), confidence.c_str());
      break;
  }
}
