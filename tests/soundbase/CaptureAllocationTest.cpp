// A captured buffer costs one allocation, its own, and nothing else: this
// program counts every allocation through its own global operator new.
#include "CountingNew.h"
#include "VirtualAudio.h"

namespace {

struct Counter : virtual CRefCounter {
  void OnSample(AV::IMediaSample *) { ++samples; }
  long samples = 0;
};

// Two counted targets: the handler set is a chain, whose copy would allocate.
TEST_F(VirtualAudio, TenMinutesOfCaptureAllocateOneBlockPerBuffer) {
  RCPtr<Counter> first = MakeRC<Counter>(), second = MakeRC<Counter>();
  WaveInHandlers handlers;
  handlers.sample.Bind(first, &Counter::OnSample);
  handlers.sample.AddBind(second, &Counter::OnSample);
  RCPtr<WaveInEvent> in = OpenCapture(handlers);
  in->Start();
  for (int i = 0; i < 100; ++i) {  // settles: the lists have their room
    ASSERT_TRUE(WaitFor(in->Event()));
    in->ProcessEvent();
  }
  constexpr long kBuffers = 6000;
  const long allocations = CountingNew::Count([&] {
    for (long i = 0; i < kBuffers; ++i) {
      if (!WaitFor(in->Event())) break;
      in->ProcessEvent();
    }
  });
  EXPECT_EQ(second->samples, 100 + kBuffers);
  EXPECT_GE(allocations, kBuffers);
  // The queues' deques take a new block now and then (one per 64 entries).
  EXPECT_LE(allocations, kBuffers + kBuffers / 16) << "more than the buffers themselves";
}

}  // namespace
