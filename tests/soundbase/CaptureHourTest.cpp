// An hour of simulated capture from a known source: every sample arrives in
// order exactly once, and neither the stream's times nor the clock drift.
#include <cstdint>
#include <cstring>
#include <vector>

#include "VirtualAudio.h"

namespace {

// A sample value no shift, repeat or loss of the stream can reproduce.
int16_t Known(uint64_t i) {
  uint64_t z = i + 0x9e3779b97f4a7c15ull;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return static_cast<int16_t>(z ^ (z >> 31));
}

class KnownSource : public platform::wave::CaptureStream {
 public:
  void Read(int16_t *out, size_t count) override {
    for (size_t k = 0; k < count; ++k) out[k] = Known(next_++);
  }

 private:
  uint64_t next_ = 0;
};

uint64_t Mix(uint64_t h, uint64_t v) { return (h ^ v) * 0x100000001b3ull; }

struct Checksum : virtual CRefCounter {
  void OnSample(AV::IMediaSample *s) {
    int64_t start, duration;
    const uint8_t *data;
    uint32_t bytes;
    s->GetInfo(&start, &duration, &data, &bytes);
    timesOk = timesOk && start == expectedStart;
    expectedStart = start + duration;
    for (uint32_t k = 0; k < bytes / 2; ++k) {
      int16_t v;
      std::memcpy(&v, data + 2 * k, 2);
      hash = Mix(hash, static_cast<uint16_t>(v));
    }
    samples += bytes / 2;
  }
  uint64_t hash = 0xcbf29ce484222325ull;
  uint64_t samples = 0;
  int64_t expectedStart = 0;
  bool timesOk = true;
};

TEST_F(VirtualAudio, AnHourOfCaptureArrivesWholeInOrderAndOnTime) {
  platform::wave::CaptureSource source;
  source.kind = platform::wave::CaptureSource::Kind::Custom;
  source.make = std::make_shared<std::function<std::unique_ptr<platform::wave::CaptureStream>()>>(
      [] { return std::make_unique<KnownSource>(); });
  platform::wave::SelectCapture(source);

  RCPtr<Checksum> sum = MakeRC<Checksum>();
  WaveInHandlers handlers;
  handlers.sample.Bind(sum, &Checksum::OnSample);
  RCPtr<WaveInEvent> in = OpenCapture(handlers);
  in->Start();

  constexpr uint64_t kHour = 3600ull * 22050;
  while (sum->samples < kHour) {
    ASSERT_TRUE(WaitFor(in->Event()));
    in->ProcessEvent();
  }
  uint64_t expected = 0xcbf29ce484222325ull;
  for (uint64_t i = 0; i < kHour; ++i) expected = Mix(expected, static_cast<uint16_t>(Known(i)));
  EXPECT_EQ(sum->samples, kHour);
  EXPECT_EQ(sum->hash, expected);
  EXPECT_TRUE(sum->timesOk) << "each buffer starts where the previous one ended";
  EXPECT_EQ(sum->expectedStart, 36000000000);  // exactly one hour in 100 ns units
  EXPECT_EQ(NowNs(), 3600000000000) << "the last buffer was done exactly at the hour";
  EXPECT_EQ(in->Position().endTime, TWaveFormatEx::Default().SamplesToTime(in->Position().sampleTotal));
  EXPECT_FALSE(record.Raised());
}

}  // namespace
