#include "ToneOptions.h"

#include "base/ParseNumber.h"
#include "base/SoundFormat.h"
#include "measure/MidiTypes.h"
#include "measure/Tuning.h"
#include "wave/AudioNames.h"

namespace {

constexpr char kUsage[] =
    "Usage: drovane-tone (--string N [--tuning TUNING] | --note MIDI)\n"
    "                    [--out FILE | --playback DEVICE]\n"
    "  or:  drovane-tone --list-devices\n"
    "Plays the tuner's plucked reference tone (tuned to A = 440 Hz).\n"
    "\n"
    "  --string N       guitar string 1..6, lowest first: in the standard tuning\n"
    "                   E-2 A-2 D-1 G-1 B-1 E1 (E2 A2 D3 G3 B3 E4 in scientific\n"
    "                   pitch notation)\n"
    "  --tuning TUNING  standard, drop-d, half-step-down, whole-step-down,\n"
    "                   drop-c, dadgad, open-d, open-g, open-e, open-c or six\n"
    "                   notes lowest first (below), as \"D2 A2 D3 G3 B3 E4\",\n"
    "                   \"D-2 A-2 D-1 G-1 B-1 E1\" or 38,45,50,55,59,64: the\n"
    "                   strings --string plays (default standard)\n"
    "  --note MIDI      a MIDI note number (69 is the A of 440 Hz); a fraction\n"
    "                   plays between the notes, 45.5 being a quarter tone above\n"
    "                   A-2 (A2). From 0 to below 124.77, where the fundamental\n"
    "                   reaches 11025 Hz, the highest a 22050 Hz tone can carry\n"
    "  --out FILE       write the tone to a 16-bit mono WAV file at 22050 Hz\n"
    "                   instead of playing it on the audio output device\n"
    "  --playback DEVICE\n"
    "                   live[:NAME] or jack[:PORT]: the device to play it on.\n"
    "                   live is the default output, live:NAME a device\n"
    "                   --list-devices names; jack is a JACK output port of its\n"
    "                   own, drovane-tone-playback:out, joined to PORT, else to\n"
    "                   the first two physical playback ports\n"
    "  --list-devices   list the live output devices as values of --playback\n"
    "                   (the tuner's own words) and exit\n"
    "  -h, --help       show this help and exit\n"
    "  -V, --version    show the version and exit\n"
    "\n"
    "Tunings, as scientific names of the six strings, lowest first:\n";

constexpr char kUsageEnd[] =
    "\n"
    "Note names are the tuner's own: octaves are labelled ... -2, -1, 1, 2 ...\n"
    "with no octave 0, so the low E string is E-2, middle C (60) is C1 and the\n"
    "A of 440 Hz (69) is A1; in scientific pitch notation E2, C4 and A4.\n"
    "\n"
    "Ctrl-C (or TERM or HUP) stops the tone at once, and the tool ends as that\n"
    "signal ends it.\n"
    "\n"
    "Exit status: 0 on success, 1 if the tone could not be played whole (no\n"
    "device, or the device went away while it played) or written, 2 on a usage\n"
    "error.\n";

// The highest fundamental a tone at the program's rate can carry.
constexpr double kNyquist = drovane::kSampleRate / 2.0;

// A note the tone can carry: a number from 0 whose fundamental lies below
// the Nyquist frequency.
std::optional<double> PlayableNote(const std::string &text) {
  const std::optional<double> note = cli::ParseNumber(text, 0, 127);
  if (!note || FrequencyFromNote(*note, 440.0) >= kNyquist) return std::nullopt;
  return note;
}

}  // namespace

std::string ToneUsage() {
  return kUsage + Measure::DescribeNamedTunings() + "\n" + Measure::DescribeTuningRules() + kUsageEnd;
}

cli::Outcome ToneOptions::Parse(int argc, const char *const *argv, std::string *error) {
  // The last of --string and --note wins; a string's note is known once the
  // tuning is, which may come after it.
  std::optional<long long> string;
  std::optional<double> chosenNote;
  bool tuned = false;
  Measure::Tuning tuning;
  cli::CommandLine line;
  line.Value("string", "a string number from 1 (the lowest) to 6 (the highest)", [&](const std::string &v) {
    const std::optional<long long> s = cli::ParseWholeNumber(v, 1, 6);
    if (s) string = s, chosenNote.reset();
    return s.has_value();
  });
  line.Checked("tuning", Measure::DescribeTuningChoices(), [&](const std::string &v, std::string *why) {
    return tuned = Measure::ParseTuning(v, &tuning, why);
  });
  line.Value("note",
             "a MIDI note number from 0 to below 124.77, whose fundamental lies below 11025 Hz, the highest a "
             "22050 Hz tone can carry",
             [&](const std::string &v) {
               const std::optional<double> n = PlayableNote(v);
               if (n) chosenNote = n, string.reset();
               return n.has_value();
             });
  line.Value("out", "a file name", [this](const std::string &v) {
    out = v;
    return !v.empty();
  });
  bool live = false;
  line.Value("playback", platform::wave::kLiveDeviceWords, [&](const std::string &v) {
    playback = v;
    live = true;
    return platform::wave::NamesLiveDevice(v, false);
  });
  line.Flag("list-devices", [this] { listDevices = true; });
  const cli::Outcome outcome = line.Parse(argc, argv);
  *error = line.Error();
  if (outcome != cli::Outcome::kRun) return outcome;
  if (listDevices && (string || chosenNote || tuned || live || !out.empty()))
    *error = "--list-devices takes no tone";
  else if (listDevices)
    return outcome;
  else if (live && !out.empty())
    *error = "--out and --playback cannot be combined";
  else if (!string && !chosenNote)
    *error = "choose a string (--string 1..6) or a note (--note MIDI)";
  else if (tuned && !string)
    *error = "--tuning names the strings of --string; a --note plays as it is";
  note = string ? tuning.notes[*string - 1] : chosenNote.value_or(0);
  return error->empty() ? outcome : cli::Outcome::kUsageError;
}
