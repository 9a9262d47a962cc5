// The capture device's failure rules under injected platform faults. The
// sanitizer build runs these too: no crash, no leak, no late callback.
#include <vector>

#include "VirtualAudio.h"
#include "general/CheckRecord.h"

namespace {

struct Starts : virtual CRefCounter {
  void OnSample(AV::IMediaSample *s) {
    int64_t start;
    s->GetInfo(&start, nullptr, nullptr, nullptr);
    values.push_back(start);
  }
  std::vector<int64_t> values;
};

class CaptureFault : public VirtualAudio {
 protected:
  RCPtr<WaveInEvent> Open() {
    WaveInHandlers handlers;
    handlers.sample.Bind(starts, &Starts::OnSample);
    return OpenCapture(handlers);
  }
  // Services the device for `buffers` buffers' worth of events.
  void Run(WaveInEvent &in, size_t buffers) {
    while (starts->values.size() < buffers) {
      ASSERT_TRUE(WaitFor(in.Event()));
      in.ProcessEvent();
    }
  }
  RCPtr<Starts> starts = MakeRC<Starts>();
};

TEST_F(CaptureFault, FailedOpenLeavesTheDeviceClosed) {
  platform::FailCall("waveInOpen", 1, MMSYSERR_ALLOCATED);
  RCPtr<WaveInEvent> in = Open();
  EXPECT_EQ(in->State(), WaveState::kClosed);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureOpenFailed));
  in->Start();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureStartNotOpen));
  EXPECT_TRUE(in->Queue().empty());
}

TEST_F(CaptureFault, FailedAddBufferLosesThatBufferForGood) {
  RCPtr<WaveInEvent> in = Open();
  platform::FailCall("waveInAddBuffer", 5, MMSYSERR_NOMEM);
  in->Start();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureAddBufferFailed));
  EXPECT_EQ(in->State(), WaveState::kRunning);
  EXPECT_EQ(in->Queue().size(), 19u);
  EXPECT_EQ(in->Position().endTime, 20000000) << "the position advanced past the lost buffer";
  Run(*in, 25);
  EXPECT_EQ(in->Queue().size(), 19u) << "the queue runs one short from then on";
  std::vector<int64_t> expected;
  for (int64_t i = 0; i < 26; ++i)
    if (i != 4) expected.push_back(i * 1000000);
  expected.resize(starts->values.size());
  EXPECT_EQ(starts->values, expected) << "a gap of one buffer in the time line";
}

TEST_F(CaptureFault, FailedPrepareLosesThatBuffer) {
  RCPtr<WaveInEvent> in = Open();
  in->Start();
  platform::FailCall("waveInPrepareHeader", 2, MMSYSERR_NOMEM);
  Run(*in, 3);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCapturePrepareFailed));
  EXPECT_EQ(in->Queue().size(), 19u);
}

TEST_F(CaptureFault, FailedStartLeavesTheDeviceOpenAndIdleThenTearsDownCleanly) {
  RCPtr<WaveInEvent> in = Open();
  platform::FailCall("waveInStart", 1, MMSYSERR_ERROR);
  in->Start();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureStartFailed));
  EXPECT_EQ(in->State(), WaveState::kOpen);
  EXPECT_EQ(in->Queue().size(), 20u);
  Pass(1000);
  EXPECT_EQ(in->Queue().front()->Header()->dwFlags, WHDR_PREPARED | WHDR_INQUEUE) << "idle: nothing recorded";
  root.reset();
  EXPECT_EQ(in->State(), WaveState::kClosed);
  EXPECT_TRUE(in->Queue().empty()) << "the queued buffers were taken back before closing";
  in.Reset();
  EXPECT_TRUE(starts->values.empty());
}

TEST_F(CaptureFault, FailedResetLeavesStoppingAndTearDownStillTakesTheBuffersBack) {
  RCPtr<WaveInEvent> in = Open();
  in->Start();
  platform::FailCall("waveInReset", 1, MMSYSERR_ERROR);
  in->Stop();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureResetFailed));
  EXPECT_EQ(in->State(), WaveState::kStopping);
  EXPECT_EQ(in->Queue().size(), 20u);
  in.Reset();  // last reference: tear-down runs now and must not leave the device writing into freed buffers
  Pass(3000);
  EXPECT_TRUE(starts->values.empty());
}

TEST_F(CaptureFault, FailedUnprepareStopsHalfWay) {
  RCPtr<WaveInEvent> in = Open();
  in->Start();
  platform::FailCall("waveInUnprepareHeader", 3, MMSYSERR_ERROR);
  in->Stop();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureUnprepareFailed));
  EXPECT_EQ(in->State(), WaveState::kStopping);
  EXPECT_EQ(in->Queue().size(), 18u);
}

}  // namespace
