#include "ToneOptions.h"

#include "app/TuningOptions.h"
#include "base/ParseNumber.h"
#include "base/SoundFormat.h"
#include "measure/MidiTypes.h"
#include "measure/Tuning.h"
#include "wave/AudioNames.h"

namespace {

constexpr char kUsage[] =
    "Usage: drovane-tone (--string N [--tuning TUNING] [--temperament TEMPERAMENT]\n"
    "                     [--temperament-root NOTE] | --note MIDI)\n"
    "                    [--out FILE | --playback DEVICE]\n"
    "  or:  drovane-tone --list-devices\n"
    "Plays the tuner's plucked reference tone (tuned to A = 440 Hz).\n"
    "\n"
    "  --string N       1..9, the tuning's string N, 1 first (the lowest): in the\n"
    "                   standard tuning 1 to 6 are E-2 A-2 D-1 G-1 B-1 E1 (E2\n"
    "                   A2 D3 G3 B3 E4 in scientific pitch notation); played\n"
    "                   where it is in tune, with its offset and the temperament\n";

// After the lines of --tuning, --temperament and --temperament-root.
constexpr char kUsageAfterTuning[] =
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
    "\n";

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
  return kUsage +
         TuningOptionsHelp("the strings --string plays\n                   (default standard)\n",
                           "where the strings are in tune\n") +
         kUsageAfterTuning + TuningOptionsEpilogue() + kUsageEnd;
}

cli::Outcome ToneOptions::Parse(int argc, const char *const *argv, std::string *error) {
  // The last of --string and --note wins; a string's note is known once the
  // tuning is, which may come after it.
  std::optional<long long> string;
  std::optional<double> chosenNote;
  TuningOptions tuning;
  cli::CommandLine line;
  line.Value("string", "a string number from 1 (the first, the lowest) to the tuning's last (at most 9)",
             [&](const std::string &v) {
    const std::optional<long long> s = cli::ParseWholeNumber(v, 1, Measure::Tuning::kMostStrings);
    if (s) string = s, chosenNote.reset();
    return s.has_value();
  });
  tuning.AddTo(&line);
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
  const Measure::Tuning &strings = tuning.strings;
  if (listDevices && (string || chosenNote || tuning.tuned || tuning.tempered || live || !out.empty()))
    *error = "--list-devices takes no tone";
  else if (listDevices)
    return outcome;
  else if (live && !out.empty())
    *error = "--out and --playback cannot be combined";
  else if (!string && !chosenNote)
    *error = "choose a string (--string N, 1 the lowest) or a note (--note MIDI)";
  else if ((tuning.tuned || tuning.tempered) && !string)
    *error = "--tuning and --temperament tune the strings of --string; a --note plays as it is";
  else if (string && *string > static_cast<long long>(strings.Strings()))
    *error = "--string " + std::to_string(*string) + ": the tuning has " + std::to_string(strings.Strings()) +
             " strings (" + Measure::DescribeNotes(strings) + ")";
  note = string && error->empty() ? tuning.Targets().StringTarget(*string - 1) : chosenNote.value_or(0);
  return error->empty() ? outcome : cli::Outcome::kUsageError;
}
