#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "AnalyzeOptions.h"

// Writes the analyser's results in one of its three formats.
class ResultFormat {
 public:
  ResultFormat(AnalyzeOptions::Format format, std::FILE *out) : format_(format), out_(out) {}

  // Before the results of one input (table and CSV headers).
  void Begin(const std::string &name, double reference);
  // One result: start time in 100 ns units, level, note (0 = none), the
  // reference it is named against.
  void Result(int64_t start, int level, double note, double reference);

 private:
  AnalyzeOptions::Format format_;
  std::FILE *out_;
};

// The fields of a result, as text, shared by the formats.
struct ResultFields {
  std::string time, level, note, frequency, name, cents;
  static ResultFields Of(int64_t start, int level, double note, double reference);
};
