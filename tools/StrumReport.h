#pragma once

#include <cstdio>
#include <string>

#include "AnalyzeOptions.h"
#include "InputRows.h"
#include "measure/Tuning.h"
#include "strum/StrumReading.h"

// Writes the strums found in the analyser's inputs, one row per strum and
// string, in the analyser's three formats, as InputRows says; the table
// shows note names both ways and a blank line between strums. A string that
// was not heard, or not for sure, is marked so, with no frequency (0), name
// or cents; every row ends with the string's confidence (0 when nothing was
// read), the table's "heard" saying "?" where it is not sure.
class StrumReport : private InputRows {
 public:
  StrumReport(AnalyzeOptions::Format format, std::FILE *out) : InputRows(format, out) {}

  // Before the strums of the input `name`, read against `tuning` at A =
  // `reference` hertz.
  void Begin(const std::string &name, double reference, const Measure::Tuning &tuning);
  // The rows of one strum, one per string of the tuning, string 1 first.
  void Strum(const Strum::StrumReading &reading);

 private:
  void Row(const std::string &time, int string, const Strum::StringReading &s);

  bool first_ = true;  // no strum of this input written yet
  Measure::Tuning tuning_;
};
