#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "AnalyzeOptions.h"
#include "FieldText.h"
#include "InputRows.h"
#include "measure/NoteTargets.h"

// Writes the analyser's results in one of its three formats, one input
// after another, as InputRows says; the table shows note names both ways,
// each result named and its cents read against `targets`.
class ResultFormat : private InputRows {
 public:
  ResultFormat(AnalyzeOptions::Format format, std::FILE *out, const Measure::NoteTargets &targets = {})
      : InputRows(format, out), targets_(targets) {}

  const Measure::NoteTargets &Targets() const { return targets_; }

  // Before the results of the input `name`.
  void Begin(const std::string &name, double reference);
  // One result: start time in 100 ns units, level, note (0 = none), the
  // reference it is named against.
  void Result(int64_t start, int level, double note, double reference);

 private:
  Measure::NoteTargets targets_;
};

// The fields of a result, as text, shared by the formats. `name` is the
// tuner's own (A = 440 Hz is "A1"), `scientific` the scientific pitch name
// ("A4") of the note nearest by `targets`, `cents` the deviation from its
// target; the names are empty when there is no note.
struct ResultFields {
  std::string time, level, note, frequency, name, scientific, cents;
  static ResultFields Of(int64_t start, int level, double note, double reference,
                         const Measure::NoteTargets &targets);
  // Both names for a person to read, "A1 (A4)".
  std::string BothNames() const { return name.empty() ? "" : name + " (" + scientific + ")"; }
};
