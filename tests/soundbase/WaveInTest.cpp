// The capture device on the virtual clock with the platform's paced drivers.
#include <cstdint>
#include <vector>

#include "VirtualAudio.h"
#include "general/CheckRecord.h"

namespace {

struct Received : virtual CRefCounter {
  void OnSample(AV::IMediaSample *s) {
    int64_t start, duration;
    uint32_t bytes;
    s->GetInfo(&start, &duration, nullptr, &bytes);
    starts.push_back(start);
    queuedAtCall.push_back(device ? device->Queue().size() : 0);
  }
  WaveIn *device = nullptr;
  std::vector<int64_t> starts;
  std::vector<size_t> queuedAtCall;
};

class Capture : public VirtualAudio {
 protected:
  RCPtr<WaveInEvent> Open() {
    WaveInHandlers handlers;
    handlers.sample.Bind(received, &Received::OnSample);
    RCPtr<WaveInEvent> in = OpenCapture(handlers);
    received->device = in.get();
    return in;
  }
  static bool AllQueued(const WaveIn &in) {
    for (const auto &b : in.Queue())
      if (b->Header()->dwFlags != (WHDR_PREPARED | WHDR_INQUEUE)) return false;
    return true;
  }
  RCPtr<Received> received = MakeRC<Received>();
};

TEST_F(Capture, StartQueuesTwentyBuffersOf4410Bytes) {
  RCPtr<WaveInEvent> in = Open();
  EXPECT_EQ(in->State(), WaveState::kOpen);
  in->Start();
  EXPECT_EQ(in->State(), WaveState::kRunning);
  ASSERT_EQ(in->Queue().size(), 20u);
  for (const auto &b : in->Queue()) EXPECT_EQ(b->Header()->dwBufferLength, 4410u);
  EXPECT_TRUE(AllQueued(*in));
  EXPECT_EQ(in->Position().endTime, 20000000);
  EXPECT_FALSE(record.Raised());
}

TEST_F(Capture, BufferIsDoneExactlyAfterItsTenthOfASecond) {
  RCPtr<WaveInEvent> in = Open();
  in->Start();
  ASSERT_TRUE(WaitFor(in->Event()));
  EXPECT_EQ(NowNs(), 100000000);  // 2205 / 22050 s
  EXPECT_EQ(in->Queue().front()->Header()->dwFlags, WHDR_PREPARED | WHDR_DONE);
  EXPECT_EQ(in->Queue().front()->Header()->dwBytesRecorded, 4410u);
}

TEST_F(Capture, ThreeFinishedBuffersGoOnInOrderAfterThreeNewOnesAreQueued) {
  RCPtr<WaveInEvent> in = Open();
  in->Start();
  Pass(350);
  in->ProcessEvent();
  EXPECT_EQ(received->starts, (std::vector<int64_t>{0, 1000000, 2000000}));
  EXPECT_EQ(received->queuedAtCall, (std::vector<size_t>{20, 20, 20}));
  EXPECT_EQ(in->Position().endTime, 23000000);
  EXPECT_TRUE(AllQueued(*in));
}

TEST_F(Capture, DoneBufferWaitsBehindOneThatIsNot) {
  RCPtr<WaveInEvent> in = Open();
  in->Start();
  in->Queue()[1]->Header()->dwFlags |= WHDR_DONE;
  in->ProcessEvent();
  EXPECT_TRUE(received->starts.empty());
  EXPECT_EQ(in->Queue().size(), 20u);
}

TEST_F(Capture, WrongStateCallsChangeNothing) {
  RCPtr<WaveInEvent> in = Open();
  in->Stop();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureStopNotCapturing));
  EXPECT_EQ(in->State(), WaveState::kOpen);
  in->Start();
  record.Clear();
  in->Start();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureStartNotOpen));
  EXPECT_EQ(in->Queue().size(), 20u);
  EXPECT_EQ(in->State(), WaveState::kRunning);
  WaveInHandlers handlers;
  handlers.sample.Bind(received, &Received::OnSample);
  in->Init(handlers, nullptr);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureInitNotClosed));
  EXPECT_EQ(in->State(), WaveState::kRunning);
}

TEST_F(Capture, StopTakesEverythingBackAndStartContinuesThePosition) {
  RCPtr<WaveInEvent> in = Open();
  in->Start();
  Pass(150);
  in->Stop();
  EXPECT_EQ(in->State(), WaveState::kOpen);
  EXPECT_TRUE(in->Queue().empty());
  in->ProcessEvent();
  EXPECT_TRUE(received->starts.empty()) << "a stopped device hands nothing on";
  in->Start();
  EXPECT_EQ(in->Queue().front()->Header()->dwFlags, WHDR_PREPARED | WHDR_INQUEUE);
  Pass(100);
  in->ProcessEvent();
  EXPECT_EQ(received->starts, (std::vector<int64_t>{20000000}));
  EXPECT_FALSE(record.Raised());
}

TEST_F(Capture, InitNeedsABoundHandlerAndASuccessfulOpen) {
  RCPtr<WaveInEvent> in = NewCapture();
  const TWaveFormatEx format = TWaveFormatEx::Default();
  in->Init(WaveInHandlers(), &format);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureInitWithoutHandler));
  WaveInHandlers handlers;
  handlers.sample.Bind(received, &Received::OnSample);
  TWaveFormatEx stereo = format;
  stereo.nChannels = 2;
  in->Init(handlers, &stereo);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureOpenFailed));
  EXPECT_EQ(in->State(), WaveState::kClosed);
  in->Start();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureStartNotOpen));
}

TEST_F(Capture, ProcessEventWithoutHandlerDropsTheBuffersAfterRequeueing) {
  RCPtr<WaveInEvent> in = Open();
  in->Start();
  root.reset();  // the release pass unbinds the handler; the device is closed
  EXPECT_EQ(in->State(), WaveState::kClosed);
  in->ProcessEvent();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kCaptureWithoutHandler));
  EXPECT_TRUE(received->starts.empty());
}

TEST_F(Capture, AfterTearDownNoBufferReachesAnyone) {
  RCPtr<WaveInEvent> in = Open();
  in->Start();
  Pass(250);
  root.reset();
  RCPtr<EventHandleHolder> event = in->EventHolder();
  in.Reset();
  received->device = nullptr;
  // The device is gone: nothing is pending, so an endless wait has nothing to wait for.
  HANDLE h = event->Get();
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &h, INFINITE, 0, 0), WAIT_OBJECT_0) << "the one signal left from before";
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &h, INFINITE, 0, 0), WAIT_FAILED);
  EXPECT_TRUE(received->starts.empty());
}

// Tear-down from inside the sample handler: the buffers already taken still
// go on to the handler set they were taken for, which lives until the
// service is over.
TEST_F(Capture, TearDownInsideTheHandlerStillHandsOnTheBuffersTakenAndThenLetsGo) {
  struct TearingDown : virtual CRefCounter {
    void OnSample(AV::IMediaSample *) {
      if (++calls == 1) root->reset();
    }
    std::unique_ptr<UninitCaller> *root = nullptr;
    int calls = 0;
  };
  RCPtr<TearingDown> handler = MakeRC<TearingDown>();
  handler->root = &root;
  WaveInHandlers handlers;
  handlers.sample.Bind(handler, &TearingDown::OnSample);
  handlers.sample.AddBind(received, &Received::OnSample);
  RCPtr<WaveInEvent> in = OpenCapture(handlers);
  handlers = WaveInHandlers();
  in->Start();
  Pass(350);
  const long heldBefore = handler->RefCount();
  in->ProcessEvent();
  EXPECT_EQ(handler->calls, 3);
  EXPECT_EQ(received->starts, (std::vector<int64_t>{0, 1000000, 2000000}));
  EXPECT_EQ(in->State(), WaveState::kClosed);
  EXPECT_TRUE(in->Queue().empty());
  EXPECT_EQ(handler->RefCount(), heldBefore - 1) << "the device's set let go of its target";
}

}  // namespace
