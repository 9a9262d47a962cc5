// The tone player against a stand-in device queue that follows the start-up
// adapters' rule (full at 0.4 s and at least two blocks), and the one-voice
// gate in front of it.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "synth/Synth_H.h"
#include "synth/VH_PlaySingle.h"

namespace {

constexpr int kBlock = 4096;

double Hertz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// The square tone at `hertz` rendered in one go from `phase` by a
// synthesizer set up by hand.
std::vector<short> Expected(double hertz, int samples, float phase = 0) {
  SynthesizerSimple s;
  s.sampleRate = 22050.0f;
  s.frequency = static_cast<float>(hertz);
  s.level = 1.0f;
  s.square = 1;
  s.phase = phase;
  std::vector<short> out(samples);
  s.Render16m(out.data(), samples);
  return out;
}

struct ToneStream : ::testing::Test {
  ToneStream() { Connect(true); }
  // A fresh player on a fresh tear-down root, its outputs bound here.
  void Connect(bool fullness) {
    root = std::make_unique<UninitCaller>();
    player = MakeRC<Synth_H>(root.get(), 22050, kBlock);
    SynthOutputs outputs;
    outputs.output.Bind(this, &ToneStream::Write);
    if (fullness) outputs.isFull.Bind(this, &ToneStream::IsFull);
    player->SetOutputs(outputs);
  }
  bool IsFull() {
    ++fullQueries;
    return queue.size() * kBlock / 22050.0 >= 0.4 && queue.size() >= 2;
  }
  void Write(rcvector<short> *block) {
    queue.push_back(RCPtr<rcvector<short>>(block));
    written.push_back(*block);
    frequencies.push_back(player->Synth().frequency);
  }
  // The device finishes its oldest block and asks for more.
  void Played(bool refill = true) {
    queue.pop_front();
    if (refill) player->Fill();
  }

  ScopedAssertionRecord record;
  std::unique_ptr<UninitCaller> root;
  RCPtr<Synth_H> player;
  std::deque<RCPtr<rcvector<short>>> queue;
  std::vector<std::vector<short>> written;
  std::vector<float> frequencies;
  int fullQueries = 0;
};

TEST_F(ToneStream, ToneIsSeventeenJoinedBlocksKeepingTheQueueBetweenOneBlockAndFourTenthsOfASecond) {
  player->Play(40);
  EXPECT_EQ(queue.size(), 3u);  // 2 blocks are 0.37 s, 3 are 0.56 s
  while (!queue.empty()) {
    const size_t before = queue.size();
    Played();
    EXPECT_TRUE(written.size() == 17 || queue.size() == before) << "one block out, one in";
  }
  ASSERT_EQ(written.size(), 17u);
  std::vector<short> joined;
  for (const auto &b : written) joined.insert(joined.end(), b.begin(), b.end());
  EXPECT_EQ(joined, Expected(Hertz(40), 17 * kBlock));
  const int queries = fullQueries;
  player->Fill();  // idle after the envelope: not even a question
  EXPECT_EQ(fullQueries, queries);
  EXPECT_EQ(written.size(), 17u);
  player->Play(45);
  EXPECT_EQ(written.size(), 20u);
  EXPECT_FALSE(record.Raised());
}

TEST_F(ToneStream, SecondPlayRestartsTheEnvelopeAtTheNewPitchKeepingThePhase) {
  player->Play(40);
  Played(false);
  Played(false);
  const float phase = player->Synth().phase;
  player->Play(52);
  ASSERT_EQ(written.size(), 5u);
  EXPECT_NEAR(frequencies[0], 82.4069, 1e-3);
  EXPECT_EQ(written[3], Expected(frequencies[3], kBlock, phase));
  EXPECT_NEAR(frequencies[3], Hertz(52), 1e-3);
  EXPECT_EQ(written[3][0], 0);
  player->Play(55);
  EXPECT_EQ(written.size(), 5u) << "the queue was already full";
  Played();
  ASSERT_EQ(written.size(), 6u);
  EXPECT_NEAR(frequencies[5], Hertz(55), 1e-3);
}

TEST_F(ToneStream, UnboundFullnessNeverStopsTheToneAndTearDownStopsRefills) {
  player->Play(40);
  root.reset();
  Played();
  EXPECT_EQ(written.size(), 3u);
  Connect(false);
  player->Play(59);
  EXPECT_EQ(written.size(), 3u + 17u);
  EXPECT_STREQ(record->function, "Delegate<bool()>::operator ()");
}

TEST(PlaySingle, RepeatedNoteIsIgnoredUntilAnotherOrSilence) {
  UninitCaller root;
  std::vector<std::string> calls;
  struct Player {
    std::vector<std::string> *calls;
    void On(int note, int velocity) { calls->push_back("on " + std::to_string(note) + " " + std::to_string(velocity)); }
    void Off(int note) { calls->push_back("off " + std::to_string(note)); }
  } player{&calls};
  PlaySingleBindings b;
  b.noteOn.Bind(&player, &Player::On);
  b.noteOff.Bind(&player, &Player::Off);
  RCPtr<VH_PlaySingle> gate = MakeRC<VH_PlaySingle>(&root, b);
  gate->Silence();  // nothing sounds yet
  gate->Play(0, 3);  // the very first request sounds, even for note 0
  gate->Play(0, 100);
  gate->Play(45, 1);
  gate->Play(45, 1);
  gate->Silence();
  EXPECT_FALSE(gate->IsSounding());
  gate->Silence();
  gate->Play(45, 1);
  EXPECT_EQ(calls, (std::vector<std::string>{"on 0 127", "off 0", "on 45 127", "off 45", "on 45 127"}));
}

}  // namespace
