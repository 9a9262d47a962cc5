// The tuner program with its own options --tuning and --strum, run headless
// on the virtual clock and checked by its text trace, screenshots and WAV
// sink, against the tone tool and synthetic strums of known truth.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "SyntheticStrum.h"
#include "TunerRun.h"

namespace {

using namespace tuner;

constexpr unsigned kNeedle = 0xFF8040, kMark = 0xCA4200, kBar = 0xA6A6A6;

// The strum screen's layout in screen pixels (the client area is 240 x 270
// below the caption): a heading of 30, six rows of 40; bars from x 40 to
// 182, ±50 cents end to end.
int RowCentre(int string) { return kCaption + 30 + 40 * string + 20; }
int NeedleX(double cents) { return static_cast<int>(std::floor(111 + 1.42 * std::clamp(cents, -50.0, 50.0) + 0.5)); }

// A needle stands at x in the row when the needle's colour shows above
// the bar there, where no bar or border is drawn.
bool NeedleIn(const Png &png, int string, int x) {
  const int c = RowCentre(string);
  return png.ColumnHas(x, c - 12, c - 8, kNeedle);
}

std::vector<short> ToneOf(const std::string &args) {
  const std::string path = OutputPath("tone.wav");
  const Outcome r = RunTool(DROVANE_TONE, args + " --out " + path);
  EXPECT_EQ(r.status, 0) << r.err;
  return ReadSound(path);
}

TEST(TunerStrum, ATuningNamesTheStringsOfTheKeysTheMenuTheHintAndTheTones) {
  const std::string wav = OutputPath("drop-d-tones.wav");
  Outcome r = RunTuner("--tuning drop-d --capture silence --playback " + wav + " --duration 5 --script " +
                       Script("0.5 key softright\n0.8 key back\n1.0 key 1\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<TraceLine> trace = ParseTrace(r.out);
  EXPECT_EQ(TextAt(trace, "STATIC", 0.4), "G") << "string 4 is chosen at start, as the phone's G";
  EXPECT_EQ(TextAt(trace, "menu", 0.6), "1 Auto Calibrate | - | 2 D | 3 A | 4 D | 5 G | 6 B | 7 E | - | 8 About");
  EXPECT_EQ(TextAt(trace, "STATIC", 1.1), "D") << "key 1 is the low D";
  const std::vector<short> played = ReadSound(wav), lowD = ToneOf("--tuning drop-d --string 1");
  ASSERT_EQ(lowD.size(), 17u * 4096);
  EXPECT_EQ(played, lowD);
  EXPECT_NE(lowD, ToneOf("--string 1"));

  // Six notes of one's own, sharps and flats named as the tuner names them.
  r = RunTuner("--tuning 'C#2 G#2 Db3 F#3 A#3 Eb4' --capture silence --playback null --duration 3 --script " +
               Script("0.5 key softright\n0.8 key 3\n1.0 key 5\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  trace = ParseTrace(r.out);
  EXPECT_EQ(TextAt(trace, "STATIC", 0.4), "F#");
  EXPECT_EQ(TextAt(trace, "menu", 0.6), "1 Auto Calibrate | - | 2 C# | 3 G# | 4 C# | 5 F# | 6 Bb | 7 Eb | - | 8 About");
  EXPECT_EQ(TextAt(trace, "STATIC", 0.9), "G#") << "the menu's second string";
  EXPECT_EQ(TextAt(trace, "STATIC", 1.1), "Bb");

  // The tuner's own octave names, as it prints them, with a flat sign.
  r = RunTuner("--tuning ' D-2 A-2 D-1 G-1 B\u266D-1 E1' --capture silence --playback null --duration 2 --script " +
               Script("0.5 key softright\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(TextAt(ParseTrace(r.out), "menu", 0.6),
            "1 Auto Calibrate | - | 2 D | 3 A | 4 D | 5 G | 6 Bb | 7 E | - | 8 About");

  // Written high to low: refused before anything runs, saying so.
  r = RunTool(DROVANE_TUNER, "--screen headless --tuning 'E4 B3 G3 D3 A2 E2'");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.find("drovane: invalid value 'E4 B3 G3 D3 A2 E2' for --tuning (the strings go from high to low; "
                       "give string 1, the lowest, first, as \"E2 A2 D3 G3 B3 E4\")\n"),
            0u) << r.err;

  r = RunTool(DROVANE_TUNER, "--screen headless --tuning drop-z");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("drovane: invalid value 'drop-z' for --tuning (expected one of standard, drop-d,"),
            std::string::npos) << r.err;
  EXPECT_NE(r.err.find("banjo, or 4 to 9 notes"), std::string::npos) << r.err;
}

// What each string's row says in a trace of the strum screen:
// "A 440.00 | Strum 1 | E | Ok | A | -18 | ...".
std::vector<std::string> Words(const std::string &screen) {
  std::vector<std::string> parts, words;
  for (size_t at = 0; at <= screen.size();) {
    const size_t end = std::min(screen.find(" | ", at), screen.size());
    parts.push_back(screen.substr(at, end - at));
    at = end + 3;
  }
  for (size_t i = 3; i < parts.size(); i += 2) words.push_back(parts[i]);
  return words;
}

// No needle anywhere along string i's bar.
bool NoNeedle(const Png &png, int string) {
  for (int x = 40; x <= 182; ++x)
    if (NeedleIn(png, string, x)) return false;
  return true;
}

// A needle within the in-tune zone, ±3 cents.
bool NeedleInZone(const Png &png, int string) {
  for (int x = NeedleX(-3); x <= NeedleX(3); ++x)
    if (NeedleIn(png, string, x)) return true;
  return false;
}

// Two strums: the first near in tune, the second with the A string 18
// cents flat, the B string 25 cents sharp and one string muted. Between
// them A moves up 0.1 Hz and key 1 chooses the low E; while the second
// waits for its reading A moves back.
TEST(TunerStrum, TheStrumScreenReadsEveryStringWithinASecondOfEachStrum) {
  synthetic::StrumSettings near, off;
  near.cents = {{-2, 1, 0, 2, -1, 1}};
  off.cents = {{0, -18, 0, 0, 25, 0}};
  off.muted = 1;
  const synthetic::Recording truth = synthetic::MakeRecording({{0.5, 7, near}, {3.0, 11, off}}, 5.0);
  int muted = -1;
  for (int i = 0; i < 6; ++i) muted = truth.strums[1].strings[i].muted ? i : muted;
  ASSERT_NE(muted, 1) << "the A string is the one read 18 cents flat";
  const std::string recording = WriteSound("strums.wav", truth.samples, 22050, 1);
  const std::string first = OutputPath("strum-first.png"), second = OutputPath("strum-second.png");
  const Outcome r = RunTuner("--strum --capture " + recording + " --playback null --script " +
                             Script("2.0 screenshot " + first + "\n2.2 key up\n2.4 key 1\n3.3 key down\n" +
                                    "4.5 screenshot " + second + "\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<TraceLine> trace = ParseTrace(r.out);
  EXPECT_EQ(TextAt(trace, "Drovane", 0.4), "A 440.00 | Strum the strings | E | A | D | G | B | E");
  EXPECT_EQ(Find(trace, "STATIC", ""), nullptr) << "no hint over the rows";

  // The first strum: each string in tune, or not heard; never a number.
  const TraceLine *one = Find(trace, "Drovane", "Strum 1");
  ASSERT_NE(one, nullptr) << r.out;
  EXPECT_LT(one->time - 0.5, 1.0) << "within a second of the strum";
  const std::vector<std::string> near1 = Words(one->text);
  ASSERT_EQ(near1.size(), 6u) << one->text;
  EXPECT_GE(std::count(near1.begin(), near1.end(), "Ok"), 4) << one->text;
  EXPECT_EQ(std::count(near1.begin(), near1.end(), "Ok") + std::count(near1.begin(), near1.end(), "-"), 6);
  EXPECT_EQ(TextAt(trace, "Drovane", 2.3).find("A 440.10 | Strum 1 |"), 0u) << "Up moved A, nothing read again";

  // The second, read against A as it is then.
  const TraceLine *two = Find(trace, "Drovane", "Strum 2");
  ASSERT_NE(two, nullptr) << r.out;
  EXPECT_LT(two->time - 3.0, 1.0);
  EXPECT_EQ(two->text.find("A 440.00 | Strum 2 |"), 0u) << two->text;
  const std::vector<std::string> off2 = Words(two->text);
  ASSERT_EQ(off2.size(), 6u) << two->text;
  EXPECT_EQ(off2[1], "-18");
  EXPECT_EQ(off2[muted], "-") << "the muted string";
  EXPECT_TRUE(off2[4] == "+25" || off2[4] == "-") << off2[4];
  EXPECT_EQ(Find(trace, "Drovane", "Strum 3"), nullptr) << "A's moves made no strum of their own";

  // The needles: in the zone for the strings in tune, 18 cents flat for the
  // A string, none for a string not heard; the chosen string's border on
  // G at start, then on the low E.
  const Png shot1(first), shot2(second);
  ASSERT_TRUE(shot1.Ok() && shot2.Ok());
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(NeedleInZone(shot1, i), near1[i] == "Ok") << "string " << i + 1;
    EXPECT_EQ(NoNeedle(shot1, i), near1[i] == "-") << "string " << i + 1;
  }
  EXPECT_TRUE(NeedleIn(shot2, 1, NeedleX(-18)));
  EXPECT_FALSE(NeedleInZone(shot2, 1));
  EXPECT_TRUE(NoNeedle(shot2, muted));
  EXPECT_TRUE(shot2.ColumnHas(NeedleX(0), RowCentre(muted) - 12, RowCentre(muted) - 8, kMark)) << "the mark, bare";
  EXPECT_EQ(shot1.Pixel(41, RowCentre(3)), kNeedle) << "G chosen at start";
  EXPECT_EQ(shot2.Pixel(41, RowCentre(0)), kNeedle) << "the low E chosen";
  EXPECT_EQ(shot2.Pixel(41, RowCentre(3)), kBar) << "G no longer";
}

}  // namespace
