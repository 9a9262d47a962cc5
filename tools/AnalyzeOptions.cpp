#include "AnalyzeOptions.h"

#include "base/ParseNumber.h"
#include "wave/AudioNames.h"

namespace {

constexpr char kUsage[] =
    "Usage: drovane-analyze [OPTION]... FILE...\n"
    "  or:  drovane-analyze [OPTION]... --demo\n"
    "  or:  drovane-analyze [OPTION]... --live\n"
    "  or:  drovane-analyze --strum [--tuning TUNING] [OPTION]... FILE...\n"
    "  or:  drovane-analyze --list-devices\n"
    "Measure the pitch of recordings the way the Drovane tuner does: one\n"
    "result per 1000 samples (22050 Hz), smoothed over the last 0.68 s.\n"
    "With --strum, find each strum instead and read all its strings at once.\n"
    "Any format libsndfile reads; channels are mixed to mono and other rates\n"
    "converted to 22050 Hz. A FILE of - is standard input; pipes and FIFOs\n"
    "are read as they come.\n"
    "\n"
    "  --csv            comma-separated values, one table for all inputs:\n"
    "                   file,time_s,level,note,frequency_hz,name,cents\n"
    "  --json           one JSON object per result, its input named first:\n"
    "                   {\"file\":...,\"time_s\":...,...}\n"
    "  --reference HZ   reference A in hertz (default 440)\n"
    "  --precise        readings within a fraction of a cent, every 441 samples,\n"
    "                   the first about a tenth of a second after a pluck, down\n"
    "                   to A0; its measurer departs from the phone's estimator\n"
    "                   (so does a --tuning with a string below C2); without\n"
    "                   either the results are exactly the phone's\n"
    "  --calibrate      also report the first stable note and the reference A\n"
    "                   that automatic calibration would set from it (on stdout,\n"
    "                   or stderr with --csv)\n"
    "  --demo           analyse the built-in demo recording\n"
    "  --live           analyse the microphone as you play, printing each result\n"
    "                   as it comes, until Ctrl-C; then a summary line (on\n"
    "                   stdout, or stderr with --csv) that also counts the\n"
    "                   overruns: sound lost because it was not taken in time,\n"
    "                   and the time the device was away (lost, and silence\n"
    "                   heard until it came back), each loss said on stderr\n"
    "  --capture DEVICE\n"
    "                   live[:NAME] or jack[:PORT] (implies --live): the live\n"
    "                   device to analyse. live is the default microphone,\n"
    "                   live:NAME a device --list-devices names; jack is a\n"
    "                   JACK input port of its own, drovane-analyze-capture:in,\n"
    "                   joined to PORT, else to the first physical capture port\n"
    "  --cue            say on stderr when the tuner's --cue would click and\n"
    "                   chime, one line each: cue<TAB>SECONDS<TAB>click or chime\n"
    "                   (clicks while a note is heard, faster the farther it is\n"
    "                   from its note; a chime once it has held within 3 cents\n"
    "                   for half a second)\n"
    "  --list-devices   list the live capture devices as values of --capture\n"
    "                   (the tuner's own words) and exit\n"
    "  --strum          find each strum (an attack that strikes one string or\n"
    "                   more) and read every string of it, as the tuner's\n"
    "                   strum screen does: one row per strum and string, in CSV\n"
    "                   the columns file, time_s, string, target, heard,\n"
    "                   frequency_hz, name, cents and confidence, with time_s\n"
    "                   the strum's onset, string 1 the lowest, heard 1 or 0\n"
    "                   and cents from the string's target note. A string's\n"
    "                   frequency is that of its first partial as the fit of\n"
    "                   the partials heard to a stiff string's series gives it,\n"
    "                   so its fundamental itself need not be heard; confidence\n"
    "                   (0 to 1) is how well those partials agree on it. Below\n"
    "                   0.5 the string is not sure and, as a string not heard,\n"
    "                   has heard 0, frequency 0 and no name or cents\n";

// After the lines of --tuning, --temperament and --temperament-root.
constexpr char kUsageAfterTuning[] =
    "  -h, --help       show this help and exit\n"
    "  -V, --version    show the version and exit\n"
    "\n"
    "Notes are MIDI numbers (69 = A); 0 means no pitch was heard. Note names\n"
    "are the tuner's own: octaves are labelled ... -2, -1, 1, 2 ... with no\n"
    "octave 0, so the low E string is E-2, middle C is C1 and the A of 440 Hz\n"
    "is A1 (E2, C4 and A4 in scientific pitch notation). The table shows both,\n"
    "as \"E-2 (E2)\"; the name field of CSV and JSON holds the tuner's own.\n"
    "The file field of CSV and JSON is the input as named on the command line\n"
    "(demo, or live). Names are shown safely: control characters and bytes\n"
    "that are not UTF-8 are written as \\xNN in the table, in CSV and in\n"
    "messages, and CSV quotes a name that holds a comma or a quote; JSON\n"
    "escapes control characters (\\u00NN) and writes U+FFFD for each sequence\n"
    "that is not UTF-8.\n"
    "\n";

constexpr char kUsageEnd[] =
    "\n"
    "Exit status: 0 success, 1 a file could not be analysed, the results could\n"
    "not be written (or no audio capture device was found), 2 usage error.\n";

}  // namespace

std::string AnalyzeUsage() {
  return kUsage +
         TuningOptionsHelp("the strings --strum reads\n"
                           "                   (4 to 9 of them), and the offsets a\n"
                           "                   string's readings are read against (default standard)\n",
                           "the name and cents of every result, and of the\n"
                           "                   strum check, follow it\n") +
         kUsageAfterTuning + TuningOptionsEpilogue() + kUsageEnd;
}

// The output format from its flags, and what cannot run together: the
// message of the first such usage error, or empty.
std::string AnalyzeOptions::Settle(bool csv, bool json) {
  if (csv && json) return "--csv and --json cannot be combined";
  format = csv ? Format::kCsv : json ? Format::kJson : Format::kTable;
  if (strum && (calibrate || precise || live)) return "--strum cannot be combined with --calibrate, --precise or --live";
  if (strum && cue) return "--cue cannot be combined with --strum";
  if (live && (demo || !files.empty())) return "--live cannot be combined with --demo or files";
  if (listDevices) return live || demo || !files.empty() ? "--list-devices takes no input" : "";
  if (files.empty() && !demo && !live) return "no input: name a sound file or use --demo or --live";
  return "";
}

cli::Outcome AnalyzeOptions::Parse(int argc, const char *const *argv, std::string *error) {
  bool csv = false, json = false;
  cli::CommandLine line;
  line.Flag("csv", [&] { csv = true; });
  line.Flag("json", [&] { json = true; });
  line.Value("reference", "hertz between 1 and 20000", [this](const std::string &v) {
    const std::optional<double> hertz = cli::ParseNumber(v, 1, 20000);
    reference = hertz.value_or(reference);
    return hertz.has_value();
  });
  line.Flag("precise", [this] { precise = true; });
  line.Flag("calibrate", [this] { calibrate = true; });
  line.Flag("demo", [this] { demo = true; });
  line.Flag("live", [this] { live = true; });
  line.Flag("list-devices", [this] { listDevices = true; });
  line.Value("capture", platform::wave::kLiveDeviceWords, [this](const std::string &v) {
    live = true;
    capture = v;
    return platform::wave::NamesLiveDevice(v, true);
  });
  line.Flag("strum", [this] { strum = true; });
  line.Flag("cue", [this] { cue = true; });
  tuning.AddTo(&line);
  line.AcceptOperands();
  const cli::Outcome outcome = line.Parse(argc, argv);
  *error = line.Error();
  if (outcome != cli::Outcome::kRun) return outcome;
  files = line.Operands();
  *error = Settle(csv, json);
  return error->empty() ? cli::Outcome::kRun : cli::Outcome::kUsageError;
}
