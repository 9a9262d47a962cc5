#pragma once

#include <cstdio>
#include <string>

#include "AnalyzeOptions.h"
#include "measure/Tuning.h"
#include "strum/StrumReading.h"

// Writes the strums found in the analyser's inputs, one row per strum and
// string, in the analyser's three formats and by its conventions: CSV is one
// table for the whole run, CSV and JSON name the input of every row first,
// the table gives each input a heading and shows note names both ways, and
// input names are written safely (see ResultFormat). A string that was not
// heard is marked so, with no frequency (0), name or cents.
class StrumReport {
 public:
  StrumReport(AnalyzeOptions::Format format, std::FILE *out) : format_(format), out_(out) {}

  // Before the strums of the input `name`, read against `tuning` at A =
  // `reference` hertz.
  void Begin(const std::string &name, double reference, const Measure::Tuning &tuning);
  // The six rows of one strum, string 1 (the lowest) first.
  void Strum(const Strum::StrumReading &reading);

 private:
  void Row(const std::string &time, int string, const Strum::StringReading &s);

  AnalyzeOptions::Format format_;
  std::FILE *out_;
  bool begun_ = false;
  bool first_ = true;  // no strum of this input written yet
  std::string file_;   // the current input's name, quoted for the format
  Measure::Tuning tuning_;
};
