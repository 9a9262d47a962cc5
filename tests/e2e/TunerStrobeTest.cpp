// The strobe screen (--strobe) and the cents of --precise, run headless on
// the virtual clock: the bands' drift measured from screenshots taken at two
// times of a tone a known number of cents off its note.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TunerRun.h"
#include "measure/TestSignals.h"

namespace {

using namespace tuner;

constexpr unsigned kDark = 0xCA4200, kLight = 0xFFCAB0, kStill = 0xA6A6A6, kStillLight = 0xE0E0E0;
// The bands' strip in screen pixels (below the caption: x 5 to 235, y 112
// to 176 of the client area), and the bands: 16 pixels, 32 to a period.
constexpr int kStripLeft = 5, kStripRight = 235, kRow = kCaption + 112 + 32;
constexpr int kBand = 16, kPeriod = 2 * kBand;

std::string Hz(double note, double cents) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", 440 * std::pow(2, (note + cents / 100 - 69) / 12));
  return text;
}

// Where the first dark band after the strip's left end begins.
int FirstEdge(const Png &png, unsigned dark) {
  for (int x = kStripLeft + 1; x < kStripRight; ++x)
    if (png.Pixel(x, kRow) == dark && png.Pixel(x - 1, kRow) != dark) return x;
  return -1;
}

// How far the bands moved from `a` to `b`, in pixels: right positive, the
// shorter way round a period.
int Drift(const Png &a, const Png &b) {
  int d = (FirstEdge(b, kDark) - FirstEdge(a, kDark)) % kPeriod;
  if (d >= kPeriod / 2) d -= kPeriod;
  if (d < -kPeriod / 2) d += kPeriod;
  return d;
}

struct Shots {
  Outcome run;
  std::vector<TraceLine> trace;
};

// The strobe on a tone of `hertz`, shot at `t0` and `t1` seconds.
Shots Strobe(const std::string &hertz, double t0, double t1, const std::string &more = "") {
  char times[2][32];
  std::snprintf(times[0], sizeof times[0], "%g", t0);
  std::snprintf(times[1], sizeof times[1], "%g", t1);
  const std::string lines = std::string(times[0]) + " screenshot " + OutputPath("strobe-0.png") + "\n" + times[1] +
                            " screenshot " + OutputPath("strobe-1.png") + "\n";
  Shots s{RunTuner("--strobe --capture tone:" + hertz + " --playback null " + more + " --script " + Script(lines)),
          {}};
  s.trace = ParseTrace(s.run.out);
  return s;
}

// Drift in pixels a second, measured over `seconds`, for `cents` off A2.
struct Case {
  double cents, seconds;
  int pixels;  // expected: 16 a second for each cent
  const char *shown;
};

TEST(TunerStrobe, BandsDriftRightWhenSharpLeftWhenFlatAtABandASecondForEachCentAndStandStillInTune) {
  const Case cases[] = {
      {+0.5, 1.0, +8, "+0.5 cents"},  {-0.5, 1.0, -8, "-0.5 cents"}, {+5, 0.1, +8, "+5.0 cents"},
      {-5, 0.1, -8, "-5.0 cents"},    {+0.1, 5.0, +8, "+0.1 cents"}, {-0.1, 5.0, -8, "-0.1 cents"},
      {0, 5.0, 0, "0.0 cents"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.shown);
    const Shots s = Strobe(Hz(45, c.cents), 2.0, 2.0 + c.seconds);
    ASSERT_EQ(s.run.status, 0) << s.run.err;
    const Png a(OutputPath("strobe-0.png")), b(OutputPath("strobe-1.png"));
    ASSERT_TRUE(a.Ok() && b.Ok());
    const unsigned first = a.Pixel(kStripLeft + 1, kRow);
    EXPECT_TRUE(first == kDark || first == kLight) << std::hex << first;
    ASSERT_GT(FirstEdge(a, kDark), 0) << "no bands in the colours of a heard note";
    // A frame is at most 17 ms older than its shot.
    const int slack = c.seconds < 1 ? 2 : 1;
    if (c.pixels == 0)
      EXPECT_EQ(Drift(a, b), 0) << "in tune, the bands stand still over " << c.seconds << " s";
    else
      EXPECT_NEAR(Drift(a, b), c.pixels, slack);
    const std::string text = TextAt(s.trace, "Drovane", 2.0);
    EXPECT_NE(text.find(std::string("110.00 Hz | A | ") + c.shown), std::string::npos) << text;
  }
}

// Keys keep working on the strobe: a string's key plays its tone, Up moves
// A and the deviation with it. Once the note stops, the bands stand still in
// grey.
TEST(TunerStrobe, KeysPlayUpMovesTheReferenceAndANoteNoLongerHeardLeavesTheBandsStillAndGrey) {
  std::vector<short> sound = signals::Sine(110, 12000, 22050 * 3);
  sound.resize(sound.size() + 22050 * 3, 0);
  const std::string recording = WriteSound("strobe-a-then-silence.wav", sound, 22050, 1);
  const std::string played = OutputPath("strobe-played.wav");
  const std::string lines = "1.0 key 1\n1.5 key up\n1.6 key up\n4.5 screenshot " + OutputPath("strobe-0.png") +
                            "\n5.5 screenshot " + OutputPath("strobe-1.png") + "\n";
  const Outcome r = RunTuner("--strobe --capture " + recording + " --playback " + played + " --script " + Script(lines));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<TraceLine> trace = ParseTrace(r.out);
  EXPECT_NE(TextAt(trace, "Drovane", 0.9).find("110.00 Hz | 110.00 Hz | A | 0.0 cents"), std::string::npos)
      << TextAt(trace, "Drovane", 0.9);
  // A 440.20 puts 110 Hz 0.8 cents below its A.
  EXPECT_NE(TextAt(trace, "Drovane", 2.5).find("A 440.20 | 110.00 Hz | 110.05 Hz | A | -0.8 cents"),
            std::string::npos)
      << TextAt(trace, "Drovane", 2.5);
  EXPECT_NE(TextAt(trace, "Drovane", 4.5).find("A | - |"), std::string::npos) << TextAt(trace, "Drovane", 4.5);
  const std::vector<short> tone = ReadSound(played);
  EXPECT_GT(tone.size(), 22050u) << "key 1 played no tone";

  const Png a(OutputPath("strobe-0.png")), b(OutputPath("strobe-1.png"));
  ASSERT_TRUE(a.Ok() && b.Ok());
  EXPECT_EQ(FirstEdge(a, kDark), -1) << "a band in a heard note's colour";
  ASSERT_GT(FirstEdge(a, kStill), 0) << "no grey bands";
  EXPECT_EQ(FirstEdge(a, kStill), FirstEdge(b, kStill)) << "the grey bands moved";
  const unsigned first = a.Pixel(kStripLeft + 1, kRow);
  EXPECT_TRUE(first == kStill || first == kStillLight) << std::hex << first;
}

// The strobe reads against the temperament's target: in just intonation
// from C, A lies 15.6 cents below the equal A, and so do its bands' speed.
TEST(TunerStrobe, ReadsAgainstTheTemperamentsTarget) {
  const Shots s = Strobe("110", 2.0, 2.05, "--temperament just --temperament-root C");
  ASSERT_EQ(s.run.status, 0) << s.run.err;
  EXPECT_NE(TextAt(s.trace, "Drovane", 2.0).find("110.00 Hz | 109.01 Hz | A | +15.6 cents"), std::string::npos)
      << TextAt(s.trace, "Drovane", 2.0);
  const Png a(OutputPath("strobe-0.png")), b(OutputPath("strobe-1.png"));
  // 15.6 bands a second: 12.5 pixels in 50 ms, give or take what a frame up
  // to 17 ms old moves (4 pixels).
  EXPECT_NEAR(Drift(a, b), 12.5, 4.5);
}

}  // namespace
