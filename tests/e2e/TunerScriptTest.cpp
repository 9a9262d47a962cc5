// The tuner program run headless on the virtual clock with a script of key
// presses and taps, checked by its text trace, screenshots and WAV sink.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TunerRun.h"
#include "measure/TestSignals.h"

namespace {

using namespace tuner;

constexpr unsigned kLiveNeedle = 0xFF8040, kIdleNeedle = 0xC0C0C0;
constexpr int kToneSamples = 17 * 4096;

// The needle's midpoint on screen for a deviation of v semitones, for the
// gauge filling the 240 x 270 client area (pivot at its left edge, halfway
// down; needle 230 pixels long; half-span asin(135 / 230)).
struct Point {
  int x, y;
};
Point NeedleMiddle(double v) {
  const double theta = std::asin(135.0 / 230.0), a = -2 * theta * v;
  return {static_cast<int>(std::lround(115 * std::cos(a))), kCaption + static_cast<int>(std::lround(135 + 115 * std::sin(a)))};
}

bool NeedleAt(const Png &png, double v, unsigned colour) {
  const Point p = NeedleMiddle(v);
  return png.ColumnHas(p.x, p.y - 5, p.y + 5, colour);
}

std::vector<short> ReferenceTone(int string) {
  const std::string path = OutputPath("reference-string-" + std::to_string(string) + ".wav");
  const Outcome r = RunTool(DROVANE_TONE, "--string " + std::to_string(string) + " --out " + path);
  EXPECT_EQ(r.status, 0) << r.err;
  return ReadWav(path);
}

std::string WriteRecording(const std::string &name, const std::vector<std::vector<int16_t>> &parts) {
  std::vector<short> all;
  for (const auto &part : parts) all.insert(all.end(), part.begin(), part.end());
  return WriteSound(name, all, 22050, 1);
}

TEST(TunerScript, StartScreenReferenceKeysAndStringTone) {
  const std::string wav = OutputPath("start-tone.wav"), shot = OutputPath("start.png");
  const Outcome r = RunTuner("--capture silence --playback " + wav + " --duration 7 --script " +
                             Script("1.0 screenshot " + shot +
                                    "\n1.5 key up\n1.6 key up\n1.7 key up\n2.5 key down\n3.0 key 1\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<TraceLine> trace = ParseTrace(r.out);
  EXPECT_EQ(TextAt(trace, "caption", 1.0).find("Drovane"), 0u) << r.out;
  const std::string softKeys = TextAt(trace, "softkeys", 1.0);
  EXPECT_NE(softKeys.find("Close"), std::string::npos) << softKeys;
  EXPECT_NE(softKeys.find("Menu"), std::string::npos) << softKeys;
  EXPECT_EQ(TextAt(trace, "STATIC", 1.0), "G");
  const std::string view = TextAt(trace, "Drovane", 1.0);
  EXPECT_NE(view.find("A 440.00"), std::string::npos) << view;
  EXPECT_NE(view.find("0.00 Hz"), std::string::npos) << view;

  EXPECT_NE(TextAt(trace, "Drovane", 2.4).find("A 440.30"), std::string::npos) << r.out;
  EXPECT_NE(TextAt(trace, "Drovane", 2.9).find("A 440.20"), std::string::npos) << r.out;
  EXPECT_EQ(TextAt(trace, "STATIC", 2.9), "G");
  EXPECT_EQ(TextAt(trace, "STATIC", 3.5), "E");

  // No pitch yet: a grey needle pinned at the flat end, no direction word.
  const Png png(shot);
  ASSERT_TRUE(png.Ok());
  EXPECT_TRUE(NeedleAt(png, -0.5, kIdleNeedle));
  EXPECT_EQ(view.find("Up"), std::string::npos);

  // The reference tone of the low E, exactly as the tone tool makes it.
  const std::vector<short> played = ReadWav(wav), reference = ReferenceTone(1);
  ASSERT_EQ(reference.size(), static_cast<size_t>(kToneSamples));
  EXPECT_EQ(played, reference);
}

TEST(TunerScript, NeedleAndHintFollowThePlayedString) {
  using signals::Hertz;
  const std::string recording = WriteRecording(
      "g-sharp-then-a.wav", {signals::Pluck(Hertz(55, 14), 20000, 22050 * 3), std::vector<int16_t>(11025, 0),
                             signals::Pluck(Hertz(45, -5), 20000, 22050 * 3)});
  const std::string shot = OutputPath("g-sharp.png");
  const Outcome r = RunTuner("--capture " + recording + " --playback null --script " +
                             Script("2.0 screenshot " + shot + "\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<TraceLine> trace = ParseTrace(r.out);

  // G played 14 cents sharp: the needle stands near +0.14 semitone, "Down".
  const Png png(shot);
  ASSERT_TRUE(png.Ok());
  EXPECT_TRUE(NeedleAt(png, 0.14, kLiveNeedle));
  EXPECT_FALSE(NeedleAt(png, 0.0, kLiveNeedle));
  EXPECT_NE(TextAt(trace, "Drovane", 2.0).find("Down"), std::string::npos) << r.out;
  EXPECT_EQ(TextAt(trace, "STATIC", 3.0), "G");

  // Then A2: the hint follows the played note.
  const TraceLine *a = Find(trace, "STATIC", "A", 3.0);
  ASSERT_NE(a, nullptr) << r.out;
  EXPECT_EQ(a->text, "A");
  EXPECT_LT(a->time, 5.0);
}

}  // namespace
