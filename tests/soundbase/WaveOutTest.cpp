// The playback device on the virtual clock with the platform's paced sink.
#include <vector>

#include "VirtualAudio.h"
#include "filters/MediaSample.h"
#include "general/CheckRecord.h"
#include "soundbase/WaveOutEvent.h"

namespace {

uint8_t *unusedData;

// A sample of `samples` 16-bit values that tells when it is destroyed.
struct WatchedSample : AV::MediaSample {
  WatchedSample(uint32_t samples, bool *gone) : AV::MediaSample(0, 0, 2 * samples, &unusedData), gone(gone) {}
  ~WatchedSample() override {
    if (gone) *gone = true;
  }
  bool *gone;
};

RCPtr<AV::IMediaSample> Block(uint32_t samples, bool *gone = nullptr) {
  return RCPtr<AV::IMediaSample>(new WatchedSample(samples, gone));
}

struct DoneCounter : virtual CRefCounter {
  void OnDone() {
    ++calls;
    queuedAtCall.push_back(device->Queue().size());
  }
  WaveOut *device = nullptr;
  int calls = 0;
  std::vector<size_t> queuedAtCall;
};

class Playback : public VirtualAudio {
 protected:
  RCPtr<WaveOutEvent> Open(bool start = true) {
    RCPtr<WaveOutEvent> out = MakeRC<WaveOutEvent>(root.get());
    done->device = out.get();
    WaveOutHandlers handlers;
    handlers.done.Bind(done, &DoneCounter::OnDone);
    const TWaveFormatEx format = TWaveFormatEx::Default();
    out->Init(handlers, &format);
    if (start) out->Start();
    return out;
  }
  RCPtr<DoneCounter> done = MakeRC<DoneCounter>();
};

TEST_F(Playback, WriteBeforeStartPlaysNothing) {
  RCPtr<WaveOutEvent> out = Open(false);
  EXPECT_EQ(out->State(), WaveState::kOpen);
  out->WriteSample(Block(2205));
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPlaybackWriteNotPlaying));
  EXPECT_TRUE(out->Queue().empty());
}

TEST_F(Playback, TwoFinishedBuffersMakeOneDoneCallAfterBothAreTakenBack) {
  RCPtr<WaveOutEvent> out = Open();
  for (int i = 0; i < 3; ++i) out->WriteSample(Block(2205));
  Pass(250);
  out->ProcessEvent();
  EXPECT_EQ(done->calls, 1);
  EXPECT_EQ(done->queuedAtCall, (std::vector<size_t>{1}));
  out->ProcessEvent();
  EXPECT_EQ(done->calls, 1) << "nothing taken, nothing called";
}

TEST_F(Playback, BufferIsDoneExactlyWhenItHasPlayed) {
  RCPtr<WaveOutEvent> out = Open();
  Pass(40);  // idle time before the first write is not played
  out->WriteSample(Block(4096));
  out->WriteSample(Block(4096));
  ASSERT_TRUE(WaitFor(out->Event()));
  EXPECT_EQ(NowNs(), 40000000 + 185759638);  // 4096 / 22050 s, rounded up
  ASSERT_TRUE(WaitFor(out->Event()));
  EXPECT_EQ(NowNs(), 40000000 + 371519275);
}

TEST_F(Playback, FinishedBufferBehindAPlayingOneStaysQueued) {
  RCPtr<WaveOutEvent> out = Open();
  out->WriteSample(Block(2205));
  out->WriteSample(Block(2205));
  out->Queue()[1]->Header()->dwFlags |= WHDR_DONE;
  out->ProcessEvent();
  EXPECT_EQ(out->Queue().size(), 2u);
  EXPECT_EQ(done->calls, 0);
}

TEST_F(Playback, StopOnIdleChangesNothingAndAfterStopStartIsNeededAgain) {
  RCPtr<WaveOutEvent> out = Open(false);
  out->Stop();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPlaybackStopNotPlaying));
  EXPECT_EQ(out->State(), WaveState::kOpen);
  out->Start();
  out->WriteSample(Block(2205));
  out->WriteSample(Block(2205));
  Pass(50);
  record.Clear();
  out->Stop();
  EXPECT_FALSE(record.Raised());
  EXPECT_EQ(out->State(), WaveState::kOpen);
  EXPECT_TRUE(out->Queue().empty());
  out->WriteSample(Block(2205));
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPlaybackWriteNotPlaying));
  EXPECT_TRUE(out->Queue().empty());
}

TEST_F(Playback, WrittenMemoryStaysValidUntilItsBufferIsTakenBack) {
  RCPtr<WaveOutEvent> out = Open();
  bool gone = false;
  out->WriteSample(Block(2205, &gone));  // the producer keeps no reference
  EXPECT_FALSE(gone);
  Pass(200);
  EXPECT_FALSE(gone) << "played, but not yet taken back";
  out->ProcessEvent();
  EXPECT_TRUE(gone);
}

TEST_F(Playback, InitTwiceAndFailedOpenAreRefused) {
  RCPtr<WaveOutEvent> out = Open(false);
  const TWaveFormatEx format = TWaveFormatEx::Default();
  out->Init(WaveOutHandlers(), &format);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPlaybackInitNotClosed));
  RCPtr<WaveOutEvent> second = MakeRC<WaveOutEvent>(root.get());
  platform::FailCall("waveOutOpen", 1, MMSYSERR_ALLOCATED);
  second->Init(WaveOutHandlers(), &format);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPlaybackOpenFailed));
  EXPECT_EQ(second->State(), WaveState::kClosed);
  second->Start();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPlaybackStartNotOpen));
}

TEST_F(Playback, FailedWriteOrPrepareIsNotPlayedAndNeverReportedDone) {
  RCPtr<WaveOutEvent> out = Open();
  bool firstGone = false, secondGone = false;
  platform::FailCall("waveOutWrite", 1, MMSYSERR_NOMEM);
  out->WriteSample(Block(2205, &firstGone));
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPlaybackWriteFailed));
  EXPECT_TRUE(firstGone) << "dropped at once";
  platform::FailCall("waveOutPrepareHeader", 1, MMSYSERR_NOMEM);
  out->WriteSample(Block(2205, &secondGone));
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPlaybackPrepareFailed));
  EXPECT_TRUE(secondGone);
  EXPECT_TRUE(out->Queue().empty());
  Pass(500);
  out->ProcessEvent();
  EXPECT_EQ(done->calls, 0);
}

TEST_F(Playback, TearDownWhilePlayingStopsAndUnbinds) {
  RCPtr<WaveOutEvent> out = Open();
  out->WriteSample(Block(2205));
  out->WriteSample(Block(2205));
  root.reset();
  EXPECT_EQ(out->State(), WaveState::kClosed);
  EXPECT_TRUE(out->Queue().empty());
  out.Reset();
  Pass(1000);
  EXPECT_EQ(done->calls, 0);
}

}  // namespace
