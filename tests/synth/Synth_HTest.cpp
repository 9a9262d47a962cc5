// The tone player against a stand-in device queue that follows the start-up
// adapters' rule: full at 0.4 s and at least two blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <memory>
#include <vector>

#include "synth/Synth_H.h"

namespace {

constexpr int kBlock = 4096;
constexpr double kRate = 22050.0;

// Collects the blocks the player hands on; `played` takes the oldest back.
struct Device {
  bool IsFull() {
    ++fullQueries;
    return queue.size() * kBlock / kRate >= 0.4 && queue.size() >= 2;
  }
  void Write(rcvector<short> *block) {
    queue.push_back(RCPtr<rcvector<short>>(block));
    written.push_back(*block);
    frequencies.push_back(owner->Synth().frequency);
  }
  void Played() { queue.pop_front(); }

  Synth_H *owner = nullptr;
  std::deque<RCPtr<rcvector<short>>> queue;
  std::vector<std::vector<short>> written;
  std::vector<float> frequencies;
  int fullQueries = 0;
};

class ToneStream : public ::testing::Test {
 protected:
  ToneStream() : root(std::make_unique<UninitCaller>()), player(MakeRC<Synth_H>(root.get(), 22050, kBlock)) {
    device.owner = player.get();
    SynthOutputs outputs;
    outputs.output.Bind(&device, &Device::Write);
    outputs.isFull.Bind(&device, &Device::IsFull);
    player->SetOutputs(outputs);
  }
  // Plays the device's queue out block by block, refilling after each.
  void DrainAll() {
    while (!device.queue.empty()) {
      device.Played();
      player->Fill();
    }
  }

  ScopedAssertionRecord record;
  std::unique_ptr<UninitCaller> root;
  Device device;
  RCPtr<Synth_H> player;
};

// The same tone rendered in one go by a synthesizer set up by hand.
std::vector<short> Reference(double note, int samples) {
  SynthesizerSimple s;
  s.sampleRate = 22050.0f;
  s.frequency = static_cast<float>(440.0 * std::pow(2.0, (note - 69.0) / 12.0));
  s.level = 1.0f;
  s.square = 1;
  std::vector<short> out(samples);
  s.Render16m(out.data(), samples);
  return out;
}

TEST_F(ToneStream, ToneIsSeventeenJoinedBlocksOfTheSynthesizer) {
  player->Play(40);
  DrainAll();
  ASSERT_EQ(device.written.size(), 17u);
  const std::vector<short> expected = Reference(40, 17 * kBlock);
  std::vector<short> joined;
  for (const auto &b : device.written) joined.insert(joined.end(), b.begin(), b.end());
  EXPECT_EQ(joined, expected);
  EXPECT_FALSE(record.Raised());
}

TEST_F(ToneStream, QueueStaysBetweenOneBlockAndFourTenthsOfASecond) {
  player->Play(64);
  EXPECT_EQ(device.queue.size(), 3u);  // 2 blocks are 0.37 s, 3 are 0.56 s
  while (!device.queue.empty()) {
    device.Played();
    const size_t before = device.queue.size();
    player->Fill();
    if (device.written.size() < 17) {
      EXPECT_GE(device.queue.size(), 1u);
      EXPECT_LT((device.queue.size() - 1) * kBlock / kRate, 0.4) << "one block too many";
      EXPECT_EQ(device.queue.size(), before + 1);
    }
  }
  EXPECT_EQ(device.written.size(), 17u);
}

TEST_F(ToneStream, IdleAfterTheEnvelopeUntilTheNextPlay) {
  player->Play(45);
  DrainAll();
  const int queries = device.fullQueries;
  player->Fill();
  EXPECT_EQ(device.written.size(), 17u);
  EXPECT_EQ(device.fullQueries, queries) << "an idle player does not even ask";
  player->Play(45);
  EXPECT_EQ(device.written.size(), 20u);
}

TEST_F(ToneStream, SecondPlayRestartsTheEnvelopeAtTheNewPitchWithoutResettingPhase) {
  player->Play(40);
  device.Played();
  device.Played();
  const float phaseBefore = player->Synth().phase;
  player->Play(52);
  ASSERT_EQ(device.written.size(), 5u);
  EXPECT_NEAR(device.frequencies[3], 440.0 * std::pow(2.0, (52 - 69) / 12.0), 1e-3);
  EXPECT_NEAR(device.frequencies[0], 82.4069, 1e-3);
  // The new tone starts from envelope 0 at the phase the old one left.
  SynthesizerSimple s;
  s.sampleRate = 22050.0f;
  s.frequency = device.frequencies[3];
  s.level = 1.0f;
  s.square = 1;
  s.phase = phaseBefore;
  std::vector<short> first(kBlock);
  s.Render16m(first.data(), kBlock);
  EXPECT_EQ(device.written[3], first);
  EXPECT_EQ(device.written[3][0], 0);
}

TEST_F(ToneStream, FullDeviceGetsNothingUntilTheNextDone) {
  player->Play(50);
  player->Play(55);
  EXPECT_EQ(device.written.size(), 3u) << "the queue was already full";
  device.Played();
  player->Fill();
  ASSERT_EQ(device.written.size(), 4u);
  EXPECT_NEAR(device.frequencies[3], 440.0 * std::pow(2.0, (55 - 69) / 12.0), 1e-3);
}

TEST_F(ToneStream, UnboundFullnessNeverStopsTheTone) {
  SynthOutputs outputs;
  outputs.output.Bind(&device, &Device::Write);
  player->SetOutputs(outputs);
  player->Play(59);
  EXPECT_EQ(device.written.size(), 17u);
  EXPECT_TRUE(record.Raised());
  EXPECT_STREQ(record->function, "Delegate<bool()>::operator ()");
}

TEST_F(ToneStream, AfterTearDownARefillSendsNothing) {
  player->Play(40);
  root.reset();
  device.Played();
  player->Fill();
  EXPECT_EQ(device.written.size(), 3u);
}

}  // namespace
