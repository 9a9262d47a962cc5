// The tuner program run headless on the virtual clock with a script of key
// presses and taps, checked by its text trace, screenshots and WAV sink.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
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
  return ReadSound(path);
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
  const std::vector<short> played = ReadSound(wav), reference = ReferenceTone(1);
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

// The measured frequency the view shows ("... 196.00 Hz ...").
double ShownHertz(const std::string &view) {
  size_t end = view.find(" Hz");
  if (end == std::string::npos) return 0;
  size_t begin = end;
  while (begin > 0 && (std::isdigit(static_cast<unsigned char>(view[begin - 1])) || view[begin - 1] == '.')) --begin;
  return std::atof(view.substr(begin, end - begin).c_str());
}

TEST(TunerScript, PreciseOptionMeasuresAnInTuneGToTheHundredthOfAHertz) {
  const std::string recording = WriteRecording("g-in-tune.wav", {signals::Sine(196.0, 12000, 22050 * 3)});
  double shown[2];
  for (bool precise : {false, true}) {
    const Outcome r = RunTuner("--capture " + recording + " --playback null" + (precise ? " --precise" : ""));
    ASSERT_EQ(r.status, 0) << r.err;
    shown[precise] = ShownHertz(TextAt(ParseTrace(r.out), "Drovane", 2.5));
  }
  EXPECT_NEAR(shown[true], 196.0, 0.01);
  // Without the option the readings are the phone's, a little off.
  EXPECT_NEAR(shown[false], 196.0, 0.5);
  EXPECT_NE(shown[false], shown[true]);
}

// Positive-going zero crossings per second over the first second of `tone`.
double Hertz(const std::vector<short> &tone) {
  int rises = 0;
  for (size_t i = 1; i < 22050 && i < tone.size(); ++i) rises += tone[i - 1] < 0 && tone[i] >= 0;
  return rises;
}

// The tones in what the speaker played, each a whole tone of the tone
// player: the sink holds the buffers played and nothing between them.
std::vector<std::vector<short>> Tones(const std::vector<short> &played) {
  std::vector<std::vector<short>> tones;
  for (size_t at = 0; at + kToneSamples <= played.size(); at += kToneSamples)
    tones.emplace_back(played.begin() + at, played.begin() + at + kToneSamples);
  EXPECT_EQ(played.size() % kToneSamples, 0u) << "only whole tones were played";
  return tones;
}

// The pop-up opens above the right soft key: a 1-pixel frame, then items of
// 20 pixels and separators of 7, bottom at the soft-key bar (y 294).
constexpr int kMenuTop = 294 - (2 + 8 * 20 + 2 * 7);
constexpr Point kMenuG{200, kMenuTop + 1 + 20 + 7 + 3 * 20 + 10};

TEST(TunerScript, MenuCalibratesChoosesStringsAndShowsAbout) {
  // A three tenths of a semitone sharp, in the octave where the estimator
  // reads a pure sine exactly (at A4 it reads 69.338 for 69.3).
  const double played = signals::Hertz(45.3);
  const std::string recording =
      WriteRecording("a-sharp.wav", {signals::Sine(played, 12000, 22050 * 4), std::vector<int16_t>(22050 * 19, 0)});
  const std::string wav = OutputPath("menu-tones.wav"), about = OutputPath("about.png");
  const std::string script = Script(
      "0.5 key softright\n0.7 key 1\n"                           // Auto Calibrate
      "5.0 key 1\n"                                              // the low E, at A = 440
      "9.0 key softright\n9.2 key 5\n"                           // G by key
      "12.7 key 2\n"                                             // the A string
      "16.5 key softright\n16.7 tap " + std::to_string(kMenuG.x) + " " + std::to_string(kMenuG.y) + "\n"
      "20.5 key softright\n20.7 key 8\n21.0 screenshot " + about + "\n21.5 key enter\n");
  const Outcome r = RunTuner("--capture " + recording + " --playback " + wav + " --duration 22.5 --script " + script);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<TraceLine> trace = ParseTrace(r.out);

  // Calibrated as the analyser calibrates on the same recording.
  const Outcome analysed = RunTool(DROVANE_ANALYZE, "--calibrate " + recording);
  const size_t at = analysed.out.find("new reference A = ");
  ASSERT_NE(at, std::string::npos) << analysed.out;
  const std::string view = TextAt(trace, "Drovane", 4.9);
  const size_t shown = view.find("| A ");
  ASSERT_NE(shown, std::string::npos) << view;
  const double reference = std::atof(view.c_str() + shown + 4);
  EXPECT_NEAR(reference, std::atof(analysed.out.c_str() + at + 18), 0.01);
  EXPECT_NEAR(reference, 440 * std::pow(2.0, 0.3 / 12), 0.02);
  EXPECT_EQ(TextAt(trace, "STATIC", 4.9), "A");

  // Reference tones stay at A = 440: the low E as the tone tool makes it,
  // then G chosen from the menu by key, A by its key, G by stylus.
  const std::vector<std::vector<short>> tones = Tones(ReadSound(wav));
  ASSERT_EQ(tones.size(), 4u);
  EXPECT_EQ(tones[0], ReferenceTone(1));
  EXPECT_NEAR(Hertz(tones[1]), signals::Hertz(55), 2);
  EXPECT_NEAR(Hertz(tones[2]), signals::Hertz(45), 2);
  EXPECT_NEAR(Hertz(tones[3]), signals::Hertz(55), 2);
  EXPECT_EQ(TextAt(trace, "STATIC", 5.5), "E");
  EXPECT_EQ(TextAt(trace, "STATIC", 13.0), "A");
  for (double when : {9.2, 16.7}) {
    const TraceLine *g = Find(trace, "STATIC", "G", when);
    ASSERT_NE(g, nullptr) << when;
    EXPECT_EQ(g->text, "G");
    EXPECT_LT(g->time, when + 0.05);
  }

  // About: the product name as caption, three lines, no scheme.
  const std::string box = TextAt(trace, "message", 21.0);
  EXPECT_NE(box.find("Drovane"), std::string::npos) << box;
  EXPECT_NE(box.find("Quorla Drovane\\nversion: 1.0.0.0\\nsite: drovane.quorla.org"), std::string::npos) << box;
  EXPECT_EQ(TextAt(trace, "message", 22.0), "");
  EXPECT_TRUE(Png(about).Ok());
}

// The recording is opened once, however it comes: a pipe on standard input
// or a FIFO is heard exactly as the file, and the run ends 1 s after the
// recording has been heard to its end. What cannot be heard fails the run.
TEST(TunerScript, ARecordingFromAPipeOrAFifoIsHeardAsFromItsFile) {
  const std::string recording =
      WriteRecording("g-for-pipes.wav", {signals::Pluck(signals::Hertz(55, 14), 20000, 22050 * 2)});
  const std::string tuner = std::string(DROVANE_TUNER) + " --screen headless --clock virtual --trace-text";
  const Outcome file = RunTuner("--capture " + recording);
  const Outcome piped = RunScript("cat " + recording + " | " + tuner + " --capture -");
  const std::string fifo = OutputPath("recording.fifo");
  const Outcome fed = RunScript("rm -f " + fifo + " && mkfifo " + fifo + " && (cat " + recording + " > " + fifo +
                                " &) && " + tuner + " --capture " + fifo);
  ASSERT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(fed.status, 0) << fed.err;
  EXPECT_EQ(piped.out, file.out);
  EXPECT_EQ(fed.out, file.out);
  const std::vector<TraceLine> trace = ParseTrace(file.out);
  EXPECT_EQ(TextAt(trace, "STATIC", 1.5), "G") << file.out;
  ASSERT_FALSE(trace.empty());
  EXPECT_DOUBLE_EQ(trace.back().time, 3.0) << "2 s of recording, then 1 s";
  EXPECT_EQ(TextAt(trace, "Drovane", 3.0), "") << "closed at the end";

  const Outcome text = RunScript("echo hello | " + tuner + " --capture -");
  EXPECT_EQ(text.status, 1);
  EXPECT_NE(text.err.find("drovane: the capture device - could not be opened (not a sound file"), std::string::npos)
      << text.err;
  const Outcome missing = RunTuner("--capture " + OutputPath("no-such.wav"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "drovane: cannot read '" + OutputPath("no-such.wav") + "': No such file or directory\n");
  EXPECT_EQ(missing.out, "") << "refused before the phone started";
}

// The tuner's own options come on its command line: --help lists them apart
// from the phone's, and the grammar is the same.
TEST(TunerScript, TheTunersOwnOptionsAreListedAndReadLikeThePhones) {
  const Outcome help = RunTool(DROVANE_TUNER, "--help");
  EXPECT_EQ(help.status, 0);
  const size_t own = help.out.find("\nThe tuner's own options:\n  --precise  ");
  EXPECT_NE(own, std::string::npos) << help.out;
  EXPECT_GT(own, help.out.find("  -V, --version")) << "after the phone's options";
  const Outcome valued = RunTool(DROVANE_TUNER, "--precise=yes");
  EXPECT_EQ(valued.status, 2);
  EXPECT_EQ(valued.err, "drovane: option '--precise' takes no value\nTry 'drovane --help' for more information.\n");
  EXPECT_EQ(valued.out, "");
}

}  // namespace
