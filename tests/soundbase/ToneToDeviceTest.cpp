// The reference tone on its own path: tone player -> start-up adapters ->
// playback device, on the virtual clock.
#include <vector>

#include "VirtualAudio.h"
#include "app/PlaybackAdapters.h"

namespace {

class ToneToDevice : public VirtualAudio {
 protected:
  void SetUp() override {
    VirtualAudio::SetUp();
    out = MakeRC<WaveOutEvent>(root.get());
    player = MakeRC<Synth_H>(root.get(), 22050, 4096);
    WaveOutHandlers handlers;
    handlers.done.Bind(player, &Synth_H::Fill);
    const TWaveFormatEx format = TWaveFormatEx::Default();
    out->Init(handlers, &format);
    player->SetOutputs(BindPlaybackOutputs(out));
    out->Start();
  }
  void TearDown() override {
    out.Reset();
    player.Reset();
    VirtualAudio::TearDown();
  }
  // Seconds of sound still queued at the device.
  double Queued() const {
    double s = 0;
    for (const auto &b : out->Queue()) s += b->Header()->dwBufferLength / 44100.0;
    return s;
  }
  RCPtr<WaveOutEvent> out;
  RCPtr<Synth_H> player;
  double minQueued = 1e9, maxQueued = 0;
};

TEST_F(ToneToDevice, ToneIsSeventeenBlocksKeptBetweenOneBlockAndFourTenthsAhead) {
  int written = 0;
  player->Play(40);
  EXPECT_EQ(out->Queue().size(), 3u);
  EXPECT_TRUE(IsPlaybackQueueFull(out));
  written = 3;
  int64_t lastTotal = 0;
  while (!out->Queue().empty()) {
    ASSERT_TRUE(WaitFor(out->Event()));
    const size_t before = out->Queue().size();
    out->ProcessEvent();
    if (out->Queue().size() + 1 > before) written += static_cast<int>(out->Queue().size() + 1 - before);
    if (out->Queue().empty()) break;
    minQueued = std::min(minQueued, Queued());
    maxQueued = std::max(maxQueued, Queued());
    lastTotal = NowNs();
  }
  EXPECT_EQ(written, 17);
  EXPECT_GE(minQueued, 4096 / 22050.0 - 1e-9);
  EXPECT_LT(maxQueued - 4096 / 22050.0, 0.4) << "never more than one block past 0.4 s";
  EXPECT_EQ(NowNs(), 3157913833) << "17 blocks back to back: 69632 / 22050 s";
  EXPECT_GT(lastTotal, 0);
  EXPECT_FALSE(record.Raised());
}

TEST_F(ToneToDevice, FullnessNeedsTwoBlocksAndFourTenthsOfASecond) {
  EXPECT_FALSE(IsPlaybackQueueFull(out));
  RCPtr<rcvector<short>> big = MakeRC<rcvector<short>>(22050u, short(0));  // one block of 1 s
  WriteBlockToDevice(big.get(), out);
  EXPECT_FALSE(IsPlaybackQueueFull(out)) << "one block is never full";
  RCPtr<rcvector<short>> small = MakeRC<rcvector<short>>(2u, short(0));
  WriteBlockToDevice(small.get(), out);
  EXPECT_TRUE(IsPlaybackQueueFull(out));
}

TEST_F(ToneToDevice, AtTheBorderTheRoundedBlockTimesDecide) {
  // 4409 + 4411 samples: 1999546 + 2000454 units, exactly 0.4 s, which times
  // 1e-7 comes to just below 0.4 in double precision: not yet full.
  RCPtr<rcvector<short>> a = MakeRC<rcvector<short>>(4409u, short(0));
  RCPtr<rcvector<short>> b = MakeRC<rcvector<short>>(4411u, short(0));
  WriteBlockToDevice(a.get(), out);
  WriteBlockToDevice(b.get(), out);
  EXPECT_FALSE(IsPlaybackQueueFull(out));
  RCPtr<rcvector<short>> c = MakeRC<rcvector<short>>(1u, short(0));
  WriteBlockToDevice(c.get(), out);
  EXPECT_TRUE(IsPlaybackQueueFull(out));
}

TEST_F(ToneToDevice, TearDownReleasesTheDeviceHeldByTheBindings) {
  bool deleted = false;
  struct Flag : CRefCounter::DeleteNotify {
    void OnDelete(CRefCounter &) override { *deleted = true; }
    bool *deleted;
  } flag;
  flag.deleted = &deleted;
  out->AddDeleteNotify(&flag);
  player->Play(45);
  root.reset();
  out.Reset();
  EXPECT_TRUE(deleted) << "the player's unbound outputs no longer hold the device";
  player->Fill();
  Pass(1000);
}

}  // namespace
