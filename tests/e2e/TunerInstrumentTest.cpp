// The tuner with other instruments' tunings and temperaments, run headless
// on the virtual clock: the keys 1-N, the menu's N strings, the hint, the
// tones (against the tone tool's) and the needle's reading; and the same
// temperament file read, applied and refused alike by the three programs.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "TunerRun.h"

namespace {

using namespace tuner;

std::vector<short> ToneOf(const std::string &args) {
  const std::string path = OutputPath("tone.wav");
  const Outcome r = RunTool(DROVANE_TONE, args + " --out " + path);
  EXPECT_EQ(r.status, 0) << r.err;
  return ReadSound(path);
}

// What the tuner played for one key pressed at 0.5 s.
std::vector<short> PlayedFor(const std::string &options, char key) {
  const std::string wav = OutputPath("played.wav");
  const Outcome r = RunTuner(options + " --capture silence --playback " + wav + " --duration 4 --script " +
                             Script(std::string("0.5 key ") + key + "\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  return ReadSound(wav);
}

// A sine at `hertz`, 4 s, as a WAV file at the tuner's rate.
std::string Sine(const std::string &name, double hertz) {
  std::vector<short> samples(4 * 22050);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<short>(std::lround(12000 * std::sin(2 * M_PI * hertz * i / 22050)));
  return WriteSound(name, samples, 22050, 1);
}

TEST(TunerInstrument, AFiveStringBassHasFiveKeysFiveMenuItemsAndItsTones) {
  Outcome r = RunTuner("--tuning bass-5 --capture silence --playback null --duration 9 --script " +
                       Script("0.5 key softright\n0.8 key back\n1.0 key 1\n2.0 key 2\n3.0 key 3\n4.0 key 4\n"
                              "5.0 key 5\n6.0 key 6\n6.5 key 9\n7.0 key softright\n7.2 key 2\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<TraceLine> trace = ParseTrace(r.out);
  EXPECT_EQ(TextAt(trace, "STATIC", 0.4), "D") << "the fourth string chosen at start, as the phone's G";
  EXPECT_EQ(TextAt(trace, "menu", 0.6), "1 Auto Calibrate | - | 2 B | 3 E | 4 A | 5 D | 6 G | - | 7 About");
  const char *hints[] = {"B", "E", "A", "D", "G"};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(TextAt(trace, "STATIC", 1.1 + k), hints[k]) << "key " << k + 1;
  EXPECT_EQ(TextAt(trace, "STATIC", 6.9), "G") << "keys 6 and 9 choose nothing";
  EXPECT_EQ(TextAt(trace, "STATIC", 7.5), "B") << "the menu's first string";

  // Each key plays its string's tone, the one the tone tool plays, B0 first.
  for (char key = '1'; key <= '5'; ++key) {
    const std::vector<short> played = PlayedFor("--tuning bass-5", key);
    EXPECT_EQ(played.size(), 17u * 4096) << key;
    EXPECT_EQ(played, ToneOf("--tuning bass-5 --string " + std::string(1, key))) << key;
  }
  EXPECT_NE(ToneOf("--tuning bass-5 --string 1"), ToneOf("--tuning bass-4 --string 1")) << "B0 is no E1";
  EXPECT_TRUE(PlayedFor("--tuning bass-5", '6').empty());
  // The menu offers what the bass has, and the tone tool refuses a sixth.
  r = RunTool(DROVANE_TONE, "--tuning bass-5 --string 6 --out " + OutputPath("none.wav"));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--string 6: the tuning has 5 strings (B0 E1 A1 D2 G2)"), std::string::npos) << r.err;
}

TEST(TunerInstrument, SevenStringsGetAMenuItemMoreAndAUkuleleItsHighG) {
  Outcome r = RunTuner("--tuning seven-string --capture silence --playback null --duration 4 --script " +
                       Script("0.5 key softright\n0.8 key back\n1.0 key 7\n1.5 key softright\n1.7 key 2\n"
                              "2.0 key softright\n2.2 key 8\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<TraceLine> trace = ParseTrace(r.out);
  EXPECT_EQ(TextAt(trace, "menu", 0.6), "1 Auto Calibrate | - | 2 B | 3 E | 4 A | 5 D | 6 G | 7 B | 8 E | - | 9 About");
  EXPECT_EQ(TextAt(trace, "STATIC", 1.1), "E");
  EXPECT_EQ(TextAt(trace, "STATIC", 1.9), "B") << "the low B";
  EXPECT_EQ(TextAt(trace, "STATIC", 2.4), "E") << "the seventh item, string 7";
  EXPECT_EQ(PlayedFor("--tuning seven-string", '7'), ToneOf("--string 6")) << "string 7 is the guitar's high E";
  EXPECT_EQ(PlayedFor("--tuning seven-string", '1'), ToneOf("--note 35"));

  r = RunTuner("--tuning ukulele --capture silence --playback null --duration 2 --script " +
               Script("0.5 key softright\n0.8 key back\n1.0 key 1\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  trace = ParseTrace(r.out);
  EXPECT_EQ(TextAt(trace, "menu", 0.6), "1 Auto Calibrate | - | 2 G | 3 C | 4 E | 5 A | - | 6 About");
  EXPECT_EQ(TextAt(trace, "STATIC", 1.1), "G");
  EXPECT_EQ(PlayedFor("--tuning ukulele", '1'), ToneOf("--note 67")) << "re-entrant: G4, above the C";
  EXPECT_EQ(PlayedFor("--tuning ukulele-low-g", '1'), ToneOf("--note 55"));

  // The strum check reads any of them.
  r = RunTuner("--strum --tuning bass-4 --capture silence --playback null --duration 1");
  EXPECT_EQ(r.status, 0) << r.err;
}

// A Scala file, and a sweetened string: the needle reads against them, the
// tones are played where the notes are in tune, and the analyser reads as
// the tuner does.
TEST(TunerInstrument, AScalaFileAndOffsetsMoveTheNeedleTheTonesAndTheReadings) {
  const std::string scale = OutputPath("ji.scl");
  std::ofstream(scale) << "! ji.scl\n5-limit just intonation\n 12\n!\n16/15\n9/8\n6/5\n5/4\n4/3\n45/32\n3/2\n"
                          "8/5\n5/3\n9/5\n15/8\n2/1\n";
  // 5/4 above the equal-tempered C4: E4 in tune in just intonation on C.
  const std::string third = Sine("third.wav", 440 * std::pow(2.0, -9 / 12.0) * 5 / 4);
  const std::string run = "--precise --capture " + third + " --playback null --duration 3";
  const std::vector<TraceLine> just = ParseTrace(RunTuner(run + " --temperament " + scale).out);
  const std::vector<TraceLine> equal = ParseTrace(RunTuner(run).out);
  EXPECT_EQ(TextAt(just, "STATIC", 2.5), "E");
  EXPECT_NE(TextAt(just, "Drovane", 2.5).find(" | Ok | A 440.00\\n\\n327.03 Hz"), std::string::npos)
      << TextAt(just, "Drovane", 2.5);
  EXPECT_NE(TextAt(equal, "Drovane", 2.5).find(" | Up | A 440.00\\n\\n327.03 Hz"), std::string::npos)
      << TextAt(equal, "Drovane", 2.5);
  // With the root A, A is the reference and the third lies 15.6 cents flat
  // of E: "Up".
  const std::vector<TraceLine> onA = ParseTrace(RunTuner(run + " --temperament just --temperament-root A").out);
  EXPECT_NE(TextAt(onA, "Drovane", 2.5).find(" | Up | "), std::string::npos) << TextAt(onA, "Drovane", 2.5);

  // The analyser reads the same file and the same sound: 0.00 cents against
  // the just E, -13.69 against the equal one.
  Outcome r = RunTool(DROVANE_ANALYZE, "--precise --csv --temperament " + scale + " " + third);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find(",327.032,E1,0.00\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out, RunTool(DROVANE_ANALYZE, "--precise --csv --temperament just " + third).out);
  EXPECT_NE(RunTool(DROVANE_ANALYZE, "--precise --csv " + third).out.find(",327.032,E1,-13.69\n"), std::string::npos);

  // Tones: the high E string in just intonation, the sweetened B.
  const std::string sweet = "--tuning 'E2 A2 D3 G3 B3-1.5 E4'";
  EXPECT_EQ(PlayedFor("--temperament " + scale, '6'), ToneOf("--note 63.86313714"));
  EXPECT_EQ(PlayedFor(sweet, '5'), ToneOf("--note 58.985"));
  EXPECT_EQ(PlayedFor(sweet, '5'), ToneOf(sweet + " --string 5"));
  EXPECT_EQ(PlayedFor(sweet, '4'), ToneOf("--string 4"));
  // The sweetened B read on the tuner: a B 1.5 cents flat is in tune, one
  // 4.5 flat is 3 cents off.
  const std::string flatB = Sine("flat-b.wav", 440 * std::pow(2.0, (59 - 69 - 0.045) / 12));
  const std::vector<TraceLine> b =
      ParseTrace(RunTuner("--precise --capture " + flatB + " --playback null --duration 3 " + sweet).out);
  EXPECT_EQ(TextAt(b, "STATIC", 2.5), "B");
  EXPECT_NE(TextAt(b, "Drovane", 2.5).find(" | Up | "), std::string::npos) << TextAt(b, "Drovane", 2.5);
  r = RunTool(DROVANE_ANALYZE, "--precise --csv " + sweet + " " + flatB);
  EXPECT_NE(r.out.find(",B-1,-3.00\n"), std::string::npos) << r.out;
}

TEST(TunerInstrument, ABadScaleIsAUsageErrorOfEveryProgramNamingItsLine) {
  const std::string scale = OutputPath("falling.scl");
  std::ofstream(scale) << "! falling.scl\nfalls\n12\n16/15\n9/8\n6/5\n5/4\n4/3\n45/32\n3/2\n8/5\n5/3\n9/5\n15/8\n"
                          "1/1\n";
  const std::string why = "invalid value '" + scale + "' for --temperament (" + scale +
                          " line 15: 0.000 cents is not above the pitch before (1088.269 cents): a scale's pitches "
                          "rise from its root to its octave)\n";
  for (const auto &[program, args] : std::initializer_list<std::pair<std::string, std::string>>{
           {DROVANE_TUNER, "--screen headless"}, {DROVANE_ANALYZE, "--demo"}, {DROVANE_TONE, "--string 1"}}) {
    const Outcome r = RunTool(program, args + " --temperament " + scale);
    EXPECT_EQ(r.status, 2) << program;
    EXPECT_EQ(r.out, "") << program;
    EXPECT_NE(r.err.find(": " + why), std::string::npos) << r.err;
  }
}

}  // namespace
