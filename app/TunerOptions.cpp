#include "TunerOptions.h"

#include "base/CommandLine.h"

namespace {

using platform::device::ProgramOption;

constexpr ProgramOption kOptions[] = {
    {"precise", nullptr,
     "measure the pitch more finely and sooner than the\n"
     "phone did (within a fraction of a cent, the first\n"
     "reading about a tenth of a second after a pluck,\n"
     "notes down to A0); this departs from the phone's\n"
     "estimator, whose readings are the default (a tuning\n"
     "with a string below C2 measures so too)"},
    {"strum", nullptr,
     "show the strum check in place of the gauge: strum\n"
     "all the strings and read how far each one is off,\n"
     "\"Ok\" within 3 cents, \"?\" where it is not sure,\n"
     "after every strum (a string's pitch is its first\n"
     "partial's, read from the partials heard); the keys\n"
     "1-N still choose a string and play its tone, and\n"
     "Up and Down still move the reference A the strings\n"
     "are read against"},
    {"strobe", nullptr,
     "show a strobe in place of the gauge, for the last\n"
     "cent: its bands drift right while the note is\n"
     "sharp and left while it is flat, one band width a\n"
     "second for each cent, and stand still in tune; the\n"
     "deviation is shown to a tenth of a cent (the pitch\n"
     "is measured as with --precise)"},
    {"cue", nullptr,
     "while a string is heard, tick softly on the playback\n"
     "device, faster the farther it is from its note, and\n"
     "chime twice once it has held in tune (\"Ok\", or\n"
     "within 1 cent on the strobe) for half a second"},
    {"tuning", "TUNING",
     "standard, drop-d, half-step-down,\n"
     "whole-step-down, drop-c, dadgad, open-d, open-g,\n"
     "open-e, open-c, seven-string, baritone, bass-4,\n"
     "bass-5, bass-6, ukulele, ukulele-low-g, mandolin,\n"
     "banjo (below) or 4 to 9 notes, string 1 first, as\n"
     "\"D2 A2 D3 G3 B3 E4\", \"D-2 A-2 D-1 G-1 B-1 E1\",\n"
     "38,45,50,55,59,64 or \"E2 A2 D3 G3 B3-1.5 E4\": the\n"
     "strings of the keys 1-9 and the menu, their\n"
     "reference tones and the strum check (default\n"
     "standard)"},
    {"temperament", "TEMPERAMENT",
     "equal, just, pythagorean, quarter-comma-meantone,\n"
     "werckmeister-3 or FILE.scl, a Scala file (default\n"
     "equal): where every note is in tune; the nearest\n"
     "note, \"Ok\" and the deviation follow it"},
    {"temperament-root", "NOTE",
     "the note the temperament's scale starts from (its\n"
     "1/1), as C, F# or Bb (default C)"},
};

bool Check(const std::vector<std::string> &args, std::string *error) {
  TunerOptions options;
  return options.Parse(args, error);
}

}  // namespace

bool TunerOptions::Parse(const std::vector<std::string> &args, std::string *error) {
  cli::CommandLine line;
  line.Flag("precise", [this] { precise = true; });
  line.Flag("strum", [this] { strum = true; });
  line.Flag("strobe", [this] { strobe = true; });
  line.Flag("cue", [this] { cue = true; });
  tuning.AddTo(&line);
  std::vector<const char *> argv{"drovane"};
  for (const std::string &arg : args) argv.push_back(arg.c_str());
  const cli::Outcome outcome = line.Parse(static_cast<int>(argv.size()), argv.data());
  *error = line.Error();
  if (outcome == cli::Outcome::kRun && strum && strobe)
    *error = "--strum and --strobe each show their screen in place of the gauge: choose one";
  return outcome == cli::Outcome::kRun && error->empty();
}

const platform::device::ProgramOptions &TunerCommandLine() {
  static const std::string tunings = TuningOptionsEpilogue();
  static const platform::device::ProgramOptions options{"The tuner's own options:", kOptions, &Check,
                                                        tunings.c_str()};
  return options;
}
