// The one option grammar, end to end through both tools: every value option
// in both forms, `--`, and usage errors worded alike with status 2.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ToolRun.h"

namespace {

// What a bad --tuning is told, the names listed.
constexpr char kTunings[] =
    "(expected one of standard, drop-d, half-step-down, whole-step-down, drop-c, dadgad, open-d, open-g, open-e, "
    "open-c, seven-string, baritone, bass-4, bass-5, bass-6, ukulele, ukulele-low-g, mandolin, banjo, or 4 to 9 "
    "notes, string 1 first, between A0 (27.50 Hz) and C6 (1046.50 Hz) in scientific pitch notation (A-4 and C3 in "
    "the tuner's own naming, MIDI 21 and 84), e.g. \"D2 A2 D3 G3 B3 E4\", \"D-2 A-2 D-1 G-1 B-1 E1\" or "
    "38,45,50,55,59,64)";

constexpr char kStringNumber[] =
    "(expected a string number from 1 (the first, the lowest) to the tuning's last (at most 9))";

constexpr char kNoteAsItIs[] = "--tuning and --temperament tune the strings of --string; a --note plays as it is";

std::string UsageError(const std::string &program, const std::string &message) {
  return program + ": " + message + "\nTry '" + program + " --help' for more information.\n";
}

std::string Repeated(const std::string &text, int times) {
  std::string all;
  while (times-- > 0) all += text;
  return all;
}

// Runs each command line and expects a usage error with exactly `message`.
void ExpectUsageErrors(const std::string &program, const std::string &tool,
                       const std::vector<std::pair<std::string, std::string>> &cases) {
  for (const auto &[args, message] : cases) {
    const Outcome r = RunTool(program, args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.err, UsageError(tool, message)) << args;
    EXPECT_TRUE(r.out.empty()) << args;
  }
}

// The same options in either form and any order give the same results; a
// file whose name starts with a dash is reached after `--`, which ends the
// options.
TEST(OptionGrammarCli, AnalyzeTakesBothFormsAndTheEndOfOptions) {
  std::vector<short> a2(30000);
  for (size_t i = 0; i < a2.size(); ++i) a2[i] = static_cast<short>(9000 * std::sin(2 * M_PI * 110 * i / 22050));
  const std::string wav = WriteSound("a2.wav", a2, 22050, 1), a = DROVANE_ANALYZE;
  const std::string in = "d=" + wav + ".d; mkdir -p $d && cp " + wav + " $d/-dash.wav && cd $d && " + a;
  const Outcome separate = RunScript(in + " --csv --precise --reference 442 --calibrate ./-dash.wav");
  ASSERT_EQ(separate.status, 0) << separate.err;
  // --precise reads every 441 samples (20 ms), the phone every 1000.
  EXPECT_NE(separate.out.find("./-dash.wav,0.7200000,"), std::string::npos) << separate.out;
  EXPECT_NE(separate.err.find("-dash.wav: calibration: "), std::string::npos) << separate.err;
  const Outcome joined = RunScript(in + " --reference=442 ./-dash.wav --csv --precise --calibrate");
  EXPECT_EQ(joined.status, 0) << joined.err;
  EXPECT_EQ(joined.out, separate.out);
  EXPECT_EQ(joined.err, separate.err);
  const Outcome ended = RunScript(in + " --csv -- -dash.wav --precise");
  EXPECT_EQ(ended.status, 1);
  EXPECT_EQ(Lines(ended.out).size(), 1u + 14u) << ended.out;
  EXPECT_NE(ended.out.find("\n-dash.wav,0.7256236,"), std::string::npos) << ended.out;
  EXPECT_EQ(ended.err, "drovane-analyze: --precise: No such file or directory\n");

  ExpectUsageErrors(
      a, "drovane-analyze",
      {{"--demo --reference=0x10", "invalid value '0x10' for --reference (expected hertz between 1 and 20000)"},
       {"--demo --reference 1e3", "invalid value '1e3' for --reference (expected hertz between 1 and 20000)"},
       {"--demo --reference=inf", "invalid value 'inf' for --reference (expected hertz between 1 and 20000)"},
       {"--demo --reference=", "invalid value '' for --reference (expected hertz between 1 and 20000)"},
       {"--demo --reference", "option '--reference' needs a value"},
       {"--demo --ref 442", "unknown option '--ref'"},
       {"--demo --csv=yes", "option '--csv' takes no value"},
       {"--demo --calibrate=1", "option '--calibrate' takes no value"},
       {"--demo -x", "unknown option '-x'"},
       {"--csv --json --demo", "--csv and --json cannot be combined"},
       {"--live --demo", "--live cannot be combined with --demo or files"},
       {"--csv", "no input: name a sound file or use --demo or --live"},
       {"--demo --temperament=", "invalid value '' for --temperament (expected equal, just, pythagorean, "
                                 "quarter-comma-meantone, werckmeister-3, or a Scala file (.scl) of 12 pitches to the "
                                 "octave)"},
       {"--demo --temperament no/such.scl",
        "invalid value 'no/such.scl' for --temperament (cannot read no/such.scl: No such file or directory)"},
       {"--demo --temperament-root H",
        "invalid value 'H' for --temperament-root (expected a note name without octave: C, C#, Db, D, ... B (# b or "
        "the sharp and flat signs))"},
       {"--demo --temperament-root C4", "invalid value 'C4' for --temperament-root (expected a note name without "
                                        "octave: C, C#, Db, D, ... B (# b or the sharp and flat signs))"},
       {"--demo --strum --calibrate", "--strum cannot be combined with --calibrate, --precise or --live"},
       {"--strum --live", "--strum cannot be combined with --calibrate, --precise or --live"},
       {"--demo --strum --tuning=drop-q", std::string("invalid value 'drop-q' for --tuning ") + kTunings},
       {"--demo --strum --tuning '38 45 50'", std::string("invalid value '38 45 50' for --tuning ") + kTunings},
       {"--capture demo", "invalid value 'demo' for --capture (expected live, live:NAME, jack or jack:PORT)"},
       {"--capture song.wav", "invalid value 'song.wav' for --capture (expected live, live:NAME, jack or jack:PORT)"},
       {"--capture jack --demo", "--live cannot be combined with --demo or files"},
       {"--list-devices song.wav", "--list-devices takes no input"}});
}

// Every option of drovane-tone in the --opt=value form writes what the
// separate form writes.
TEST(OptionGrammarCli, ToneTakesBothFormsAndRefusesAlike) {
  const std::string t = DROVANE_TONE, separate = OutputPath("grammar-separate.wav"),
                    joined = OutputPath("grammar-joined.wav");
  for (const auto &[apart, together] :
       {std::pair<std::string, std::string>{"--string 2", "--string=2"}, {"--note 45.5", "--note=45.5"}}) {
    ASSERT_EQ(RunTool(t, apart + " --out " + separate).status, 0) << apart;
    const Outcome r = RunTool(t, together + " --out=" + joined);
    ASSERT_EQ(r.status, 0) << together << ": " << r.err;
    EXPECT_EQ(Slurp(joined), Slurp(separate)) << together;
    EXPECT_EQ(ReadSound(joined).size(), 17u * 4096) << together;
  }
  ExpectUsageErrors(
      t, "drovane-tone",
      {{"--string=10", std::string("invalid value '10' for --string ") + kStringNumber},
       {"--string=1e0", std::string("invalid value '1e0' for --string ") + kStringNumber},
       {"--string 2.0", std::string("invalid value '2.0' for --string ") + kStringNumber},
       {"--string=7 --out x.wav", "--string 7: the tuning has 6 strings (E2 A2 D3 G3 B3 E4)"},
       {"--tuning bass-4 --string 5 --out x.wav", "--string 5: the tuning has 4 strings (E1 A1 D2 G2)"},
       {"--note=0x10",
        "invalid value '0x10' for --note (expected a MIDI note number from 0 to below 124.77, whose "
        "fundamental lies below 11025 Hz, the highest a 22050 Hz tone can carry)"},
       {"--note 1 --out=", "invalid value '' for --out (expected a file name)"},
       {"--note 1 --out", "option '--out' needs a value"},
       {"--note 1 --strin 2", "unknown option '--strin'"},
       {"--note 1 extra", "unexpected argument 'extra'"},
       {"--note 1 -- --out=x.wav", "unexpected argument '--out=x.wav'"},
       {"--out x.wav", "choose a string (--string N, 1 the lowest) or a note (--note MIDI)"},
       {"--tuning open-g --out x.wav", "choose a string (--string N, 1 the lowest) or a note (--note MIDI)"},
       {"--string 1 --note 40 --tuning drop-d", kNoteAsItIs},
       {"--note 40 --temperament just", kNoteAsItIs},
       {"--note 40 --temperament-root D", kNoteAsItIs},
       {"--string 1 --tuning 'E2 A2 D3 G3 B3 E9'",
        "invalid value 'E2 A2 D3 G3 B3 E9' for --tuning ('E9' is E9 (10548.08 Hz): the strings lie between A0 "
        "(27.50 Hz) and C6 (1046.50 Hz) in scientific pitch notation (A-4 and C3 in the tuner's own naming, MIDI 21 "
        "and 84))"},
       {"--string 1 --tuning 'E4 B3 G3 D3 A2 E2'",
        "invalid value 'E4 B3 G3 D3 A2 E2' for --tuning (the strings go from high to low; give string 1, the lowest, "
        "first, as \"E2 A2 D3 G3 B3 E4\")"},
       {"--string 1 --tuning \"$(printf 'E2 %.0s' $(seq 40000))\"",
        "invalid value '" + Repeated("E2 ", 53) + "E...' (120000 bytes) for --tuning " + kTunings},
       {"--string 1 --playback null", "invalid value 'null' for --playback (expected live, live:NAME, jack or jack:PORT)"},
       {"--string 1 --playback jack --out x.wav", "--out and --playback cannot be combined"},
       {"--list-devices --string 1", "--list-devices takes no tone"}});
  // A tuning names the strings whatever the order; the last of --string and
  // --note wins.
  const std::string dropD = OutputPath("drop-d-1.wav"), low = OutputPath("note-38.wav");
  ASSERT_EQ(RunTool(t, "--note 38 --out " + low).status, 0);
  for (const char *args : {"--tuning drop-d --string 1", "--string=1 --tuning=D2,A2,D3,G3,B3,E4",
                           "--note 40 --tuning 38,45,50,55,59,64 --string 1"}) {
    ASSERT_EQ(RunTool(t, std::string(args) + " --out " + dropD).status, 0) << args;
    EXPECT_EQ(Slurp(dropD), Slurp(low)) << args;
  }
  // The first of help and version wins, whatever follows.
  EXPECT_EQ(RunTool(t, "--note=1 --version --bogus").out, "drovane-tone 1.0.0\n");
  EXPECT_EQ(RunTool(t, "-V -h").out, "drovane-tone 1.0.0\n");
}

}  // namespace
