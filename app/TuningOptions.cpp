#include "TuningOptions.h"

#include "measure/TemperamentChoice.h"

TuningOptions::TuningOptions() {
  std::string unused;
  Measure::ParseTemperament("equal", &scale, &unused);
}

void TuningOptions::AddTo(cli::CommandLine *line) {
  line->Checked("tuning", Measure::DescribeTuningChoices(), [this](const std::string &v, std::string *why) {
    return tuned = Measure::ParseTuning(v, &strings, why);
  });
  line->Checked("temperament", Measure::DescribeTemperamentChoices(), [this](const std::string &v, std::string *why) {
    tempered = true;
    return Measure::ParseTemperament(v, &scale, why);
  });
  line->Checked("temperament-root", "a note name", [this](const std::string &v, std::string *why) {
    tempered = true;
    return Measure::ParseTemperamentRoot(v, &root, why);
  });
}

Measure::NoteTargets TuningOptions::Targets() const {
  return Measure::NoteTargets(Measure::Temperament(scale, root), strings);
}

std::string TuningOptionsEpilogue() {
  return "Tunings, as scientific names of their strings, string 1 first:\n" + Measure::DescribeNamedTunings() +
         "\n" + Measure::DescribeTuningRules() + "\nTemperaments:\n" + Measure::DescribeNamedTemperaments() +
         "\n"
         "or a Scala file (.scl): comment lines starting with '!', a description line,\n"
         "the number of pitches (12), then the pitches above the root one a line,\n"
         "a value with a '.' in cents (386.314), else a ratio (5/4) or a whole number\n"
         "(2), the last the octave the scale repeats at. --temperament-root names the\n"
         "note the scale starts from, its 1/1 (C unless said); that note keeps its\n"
         "equal-tempered pitch from the reference A, and the others lie at the\n"
         "scale's pitches above it (with the root A, A is the reference itself).\n"
         "The nearest note, \"Ok\" and the deviation then follow the temperament.\n";
}
