#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "AnalyzeOptions.h"
#include "FieldText.h"

// Writes the analyser's results in one of its three formats, one input
// after another. CSV is one table for the whole run (one header line) and
// CSV and JSON name the input of every result in a first "file" field; the
// table gives each input a heading and shows note names both ways. Names are
// written so that they cannot act on a terminal (cli::Printable; JSON
// escapes its own way) and keep every row one line.
class ResultFormat {
 public:
  ResultFormat(AnalyzeOptions::Format format, std::FILE *out) : format_(format), out_(out) {}

  // Before the results of the input `name`.
  void Begin(const std::string &name, double reference);
  // One result: start time in 100 ns units, level, note (0 = none), the
  // reference it is named against.
  void Result(int64_t start, int level, double note, double reference);

 private:
  AnalyzeOptions::Format format_;
  std::FILE *out_;
  bool begun_ = false;
  std::string file_;  // the current input's name, quoted for the format
};

// The fields of a result, as text, shared by the formats. `name` is the
// tuner's own (A = 440 Hz is "A1"), `scientific` the scientific pitch name
// ("A4"); both are empty when there is no note.
struct ResultFields {
  std::string time, level, note, frequency, name, scientific, cents;
  static ResultFields Of(int64_t start, int level, double note, double reference);
  // Both names for a person to read, "A1 (A4)".
  std::string BothNames() const { return name.empty() ? "" : name + " (" + scientific + ")"; }
};
