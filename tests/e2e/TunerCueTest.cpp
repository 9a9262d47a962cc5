// The cue for the ear (--cue) run headless on the virtual clock: its clicks
// and chime found in the WAV sink, their pace following the distance from
// the note, and the tuner deaf to them when what it played is heard again
// with the note (the sink looped back into the capture).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "TunerRun.h"
#include "measure/TestSignals.h"

namespace {

using namespace tuner;

constexpr int kRate = 22050;

// `seconds` of A2 `cents` off, then two of silence.
std::vector<short> Note(double cents, double seconds = 3) {
  std::vector<short> s = signals::Sine(110 * std::pow(2, cents / 1200), 12000, static_cast<size_t>(kRate * seconds));
  s.resize(s.size() + 2 * kRate, 0);
  return s;
}

struct Heard {
  std::vector<size_t> clicks;  // first samples of the clicks
  size_t chime = 0;            // first sample of the chime, 0: none
  double chimeHertz = 0;       // its first note's pitch, by zero crossings
};

// Clicks are 4 ms of sound between silences; the chime is the one sound
// longer than 0.1 s.
Heard Listen(const std::vector<short> &s) {
  Heard h;
  size_t i = 0;
  while (i < s.size()) {
    if (std::abs(s[i]) < 40) {
      ++i;
      continue;
    }
    size_t end = i, quiet = 0;
    for (size_t j = i; j < s.size() && quiet < 200; ++j) {
      quiet = std::abs(s[j]) < 40 ? quiet + 1 : 0;
      end = j;
    }
    if (end - i > static_cast<size_t>(kRate / 10)) {
      h.chime = i;
      int rises = 0;
      for (size_t j = i + 1; j < i + kRate / 20; ++j) rises += s[j - 1] < 0 && s[j] >= 0;
      h.chimeHertz = rises * 20.0;
    } else {
      h.clicks.push_back(i);
    }
    i = end + 1;
  }
  return h;
}

// The median time between clicks (one may hide in the chime).
double ClickGap(const std::vector<size_t> &clicks) {
  std::vector<size_t> gaps;
  for (size_t i = 1; i < clicks.size(); ++i) gaps.push_back(clicks[i] - clicks[i - 1]);
  if (gaps.empty()) return 0;
  std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
  return static_cast<double>(gaps[gaps.size() / 2]) / kRate;
}

Outcome Cue(const std::string &screen, const std::vector<short> &note, const std::string &played) {
  const std::string input = WriteSound("cue-note.wav", note, kRate, 1);
  return RunTuner(screen + " --cue --capture " + input + " --playback " + played);
}

TEST(TunerCue, ClicksQuickenWithTheDistanceAndAChimeComesAfterHalfASecondInTheScreensZone) {
  struct Case {
    const char *screen;
    double cents;
    bool chime;
  } cases[] = {
      {"--strobe", 0.5, true},  // within a cent
      {"--strobe", 2, false},   // out of the strobe's cent, in the gauge's "Ok"
      {"--precise", 2, true},  // the gauge, read finely to check the pace
      {"--precise", 10, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.screen) + " " + std::to_string(c.cents));
    const std::string played = OutputPath("cue-played.wav");
    const Outcome r = Cue(c.screen, Note(c.cents), played);
    ASSERT_EQ(r.status, 0) << r.err;
    const Heard h = Listen(ReadSound(played));
    ASSERT_GE(h.clicks.size(), 3u);
    // One a second in tune, ten half a semitone off, by the square root.
    EXPECT_NEAR(1 / ClickGap(h.clicks), 1 + 9 * std::sqrt(c.cents / 50), 0.1);
    EXPECT_EQ(h.chime != 0, c.chime);
    if (c.chime) {
      // Half a second after the first reading in the zone, E8 first.
      EXPECT_NEAR(static_cast<double>(h.chime - h.clicks.front()) / kRate, 0.5, 0.06);
      EXPECT_NEAR(h.chimeHertz, 5274, 60);
    }
  }
}

// What the cue played, laid over the note as a microphone would hear it (at
// a delay and louder), is heard by a tuner with --cue exactly as the note
// alone; the cue alone gives no reading at all.
TEST(TunerCue, TheTunerHearsNoNoteOfItsOwnCueLoopedBackIntoItsCapture) {
  const std::vector<short> note = Note(0.5);
  const std::string played = OutputPath("cue-played.wav");
  const Outcome first = Cue("--strobe", note, played);
  ASSERT_EQ(first.status, 0) << first.err;
  const std::vector<short> cue = ReadSound(played);
  const Heard h = Listen(cue);
  ASSERT_NE(h.chime, 0u);
  // The sink holds the cue's stream from its first block: the first reading.
  const std::vector<TraceLine> trace = ParseTrace(first.out);
  const TraceLine *start = Find(trace, "Drovane", "cents |");
  ASSERT_NE(start, nullptr);

  // The strobe's readings: when each was shown, the heard frequency and
  // the note it names.
  struct Shown {
    double time, hertz;
    std::string note;
  };
  auto Readings = [](const std::vector<short> &heard) {
    const Outcome r = RunTuner("--strobe --cue --capture " + WriteSound("cue-heard.wav", heard, kRate, 1) +
                               " --playback null");
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<Shown> shown;
    for (const TraceLine &l : ParseTrace(r.out)) {
      const size_t cents = l.text.find(" cents |");
      if (l.source != "Drovane" || cents == std::string::npos) continue;
      // "A 440.00 | 110.03 Hz | 110.00 Hz | A | +0.5 cents | ..."
      const size_t heardAt = l.text.find(" | ") + 3, nameAt = l.text.rfind(" | ", l.text.rfind(" | ", cents) - 1) + 3;
      shown.push_back({l.time, std::atof(l.text.c_str() + heardAt), l.text.substr(nameAt, l.text.find(" | ", nameAt) - nameAt)});
    }
    return shown;
  };
  // The same readings at the same times, the same notes, the frequencies
  // within 0.02 Hz (the note's dying tail, heard under what the guard
  // leaves of the cue, may move in its last hundredth).
  auto ExpectSame = [](const std::vector<Shown> &heard, const std::vector<Shown> &alone) {
    ASSERT_EQ(heard.size(), alone.size());
    for (size_t i = 0; i < alone.size(); ++i) {
      EXPECT_EQ(heard[i].time, alone[i].time);
      EXPECT_EQ(heard[i].note, alone[i].note);
      EXPECT_NEAR(heard[i].hertz, alone[i].hertz, 0.02) << alone[i].time;
    }
  };
  const std::vector<Shown> alone = Readings(note);
  ASSERT_FALSE(alone.empty());
  for (double delay : {0.0, 0.12}) {
    for (int gain : {1, 4}) {
      SCOPED_TRACE("delay " + std::to_string(delay) + " gain " + std::to_string(gain));
      std::vector<short> mixed = note, cueOnly(note.size() + cue.size(), 0);
      mixed.resize(cueOnly.size(), 0);
      const size_t at = static_cast<size_t>((start->time + delay) * kRate);
      for (size_t i = 0; i < cue.size() && at + i < mixed.size(); ++i) {
        mixed[at + i] = static_cast<short>(std::clamp(mixed[at + i] + gain * cue[i], -32768, 32767));
        cueOnly[at + i] = static_cast<short>(gain * cue[i]);
      }
      ExpectSame(Readings(mixed), alone);
      EXPECT_TRUE(Readings(cueOnly).empty()) << "a reading from the cue alone";
    }
  }
}

// The reference tone and the cue share the speaker: a tone asked while the
// cue clicks plays whole, and the cue is silent while it sounds.
TEST(TunerCue, TheReferenceToneTakesTheSpeakerWholeAndTheCueWaits) {
  const std::string input = WriteSound("cue-note.wav", Note(10, 6), kRate, 1);
  const std::string played = OutputPath("cue-played.wav");
  const Outcome r = RunTuner("--cue --capture " + input + " --playback " + played + " --script " + Script("2.0 key 1\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<short> s = ReadSound(played);
  // The tone's 17 blocks of 4096 come whole, after the cue's queued blocks.
  size_t loud = 0;
  for (short v : s) loud += std::abs(v) > 4000;
  EXPECT_GT(loud, static_cast<size_t>(kRate));  // the square wave, far louder than the cue
  const Heard h = Listen(s);
  EXPECT_GE(h.clicks.size(), 5u);
  EXPECT_GE(s.size(), static_cast<size_t>(17 * 4096));
}

}  // namespace

namespace {

// drovane-analyze --cue says the same moments for a recording: clicks at the
// pace of its readings, one chime.
TEST(TunerCue, TheAnalyzerSaysTheCuesMomentsOnStderr) {
  const std::string input = WriteSound("cue-note.wav", Note(2), kRate, 1);
  const Outcome r = RunTool(DROVANE_ANALYZE, "--precise --cue --csv " + input);
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<double> clicks;
  int chimes = 0;
  for (const std::string &line : Lines(r.err)) {
    if (line.rfind("cue\t", 0) != 0) continue;
    const double at = std::atof(line.c_str() + 4);
    if (line.ends_with("\tclick")) clicks.push_back(at);
    chimes += line.ends_with("\tchime");
  }
  EXPECT_EQ(chimes, 1);
  ASSERT_GE(clicks.size(), 4u);
  EXPECT_NEAR((clicks.size() - 1) / (clicks.back() - clicks.front()), 1 + 9 * std::sqrt(2 / 50.0), 0.1);
}

}  // namespace
