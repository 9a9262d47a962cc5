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

std::string TuningOptionsHelp(const std::string &strings, const std::string &temperament) {
  return "  --tuning TUNING  standard, drop-d, half-step-down, whole-step-down,\n"
         "                   drop-c, dadgad, open-d, open-g, open-e, open-c,\n"
         "                   seven-string, baritone, bass-4, bass-5, bass-6, ukulele,\n"
         "                   ukulele-low-g, mandolin, banjo (below) or 4 to 9 notes,\n"
         "                   string 1 first, as \"D2 A2 D3 G3 B3 E4\",\n"
         "                   \"D-2 A-2 D-1 G-1 B-1 E1\", 38,45,50,55,59,64 or\n"
         "                   \"E2 A2 D3 G3 B3-1.5 E4\": " +
         strings +
         "  --temperament TEMPERAMENT\n"
         "                   equal, just, pythagorean, quarter-comma-meantone,\n"
         "                   werckmeister-3 or FILE.scl, a Scala file (default\n"
         "                   equal): " +
         temperament +
         "  --temperament-root NOTE\n"
         "                   the note the temperament's scale starts from (its 1/1),\n"
         "                   as C, F# or Bb (default C)\n";
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
