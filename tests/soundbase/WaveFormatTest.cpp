#include <gtest/gtest.h>

#include "filters/MediaSample.h"
#include "general/AssertionRecord.h"
#include "general/CheckRecord.h"
#include "soundbase/TWaveFormatEx.h"
#include "soundbase/WaveHeaderMM.h"
#include "soundbase/WaveHeaderPlayMM.h"

namespace {

TEST(WaveFormat, HundredMillisecondsIs4410BytesAnd2205Samples) {
  WaveSource2 position(TWaveFormatEx::Default());
  RCPtr<WaveHeaderMM> first = WaveHeaderMM::Next(position, 100.0);
  int64_t start = -1, duration = -1;
  uint32_t bytes = 0;
  first->GetInfo(&start, &duration, nullptr, &bytes);
  EXPECT_EQ(bytes, 4410u);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(duration, 1000000);
  EXPECT_EQ(position.sampleTotal, 2205);
  for (int i = 1; i < 20; ++i) WaveHeaderMM::Next(position, 100.0);
  EXPECT_EQ(position.endTime, 20000000);
  position.Reset();
  EXPECT_EQ(position.endTime, 0);
  EXPECT_EQ(position.sampleTotal, 0);
}

TEST(WaveFormat, EndTimeFollowsTheWholeCountWithoutDrift) {
  // 10 ms is 220.5 samples: 220 per buffer, 99773.2... units each.
  WaveSource2 position(TWaveFormatEx::Default());
  int64_t expectedStart = 0;
  for (int i = 0; i < 100000; ++i) {
    int64_t start;
    WaveHeaderMM::Next(position, 10.0)->GetInfo(&start, nullptr, nullptr, nullptr);
    ASSERT_EQ(start, expectedStart);
    expectedStart = static_cast<int64_t>(220.0 * (i + 1) * 1e7 / 22050 + 0.5);
  }
  EXPECT_EQ(position.endTime, static_cast<int64_t>(22000000.0 * 1e7 / 22050 + 0.5));
}

TEST(WaveFormat, ConversionsRoundAsSpecifiedAndNeverSplitABlock) {
  const TWaveFormatEx f = TWaveFormatEx::Default();
  EXPECT_EQ(f.TimeToBytes(1000317), 4410u);  // 4411.4 bytes
  EXPECT_EQ(f.TimeToBytes(1000341), 4412u);  // 4411.5 rounds up to 4412, a whole block
  EXPECT_EQ(f.TimeToBytes(1000227), 4410u);  // 4411.0 bytes: the odd byte is dropped
  EXPECT_EQ(f.SamplesToTime(1), 454);        // 453.51 units
  EXPECT_EQ(f.TimeToSamples(454), 1);
  EXPECT_EQ(f.TimeToSamples(226), 0);        // 0.498 samples
  EXPECT_EQ(sizeof(TWaveFormatEx), 18u);
}

TEST(WaveFormat, PartialBlockIsReportedButStillCounted) {
  ScopedAssertionRecord record;
  const TWaveFormatEx f = TWaveFormatEx::Default();
  EXPECT_EQ(f.SampleSizeToSampleCount(4410), 2205);
  EXPECT_FALSE(record.Raised());
  EXPECT_EQ(f.SampleSizeToSampleCount(4411), 2205);
  EXPECT_TRUE(record.Raised());
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPartialSample));
}

TEST(WaveHeader, ReportsItsFullLengthWhateverWasRecordedAndSkipsNullOuts) {
  RCPtr<WaveHeaderMM> h = WaveHeaderMM::Create(5, 7, 4410);
  h->Header()->dwBytesRecorded = 100;
  h->GetInfo(nullptr, nullptr, nullptr, nullptr);
  const uint8_t *data = nullptr;
  uint32_t bytes = 0;
  h->GetData(&data, &bytes);
  EXPECT_EQ(bytes, 4410u);
  EXPECT_EQ(data, reinterpret_cast<const uint8_t *>(h->Header()->lpData));
  EXPECT_EQ(h->Header()->dwBufferLength, 4410u);
  EXPECT_EQ(h->Header()->dwFlags, 0u);
  EXPECT_EQ(h->GetFlags(), 0);
  // The buffer is usable end to end (the sanitizer build checks the bounds).
  for (uint32_t i = 0; i < 4410; ++i) h->Header()->lpData[i] = static_cast<char>(i);
  EXPECT_EQ(h->Header()->lpData[4409], static_cast<char>(4409));
}

// A sample that tells when it is destroyed.
struct WatchedSample : AV::MediaSample {
  WatchedSample(bool *gone, uint8_t **data) : AV::MediaSample(0, 0, 64, data), gone(gone) {}
  ~WatchedSample() override { *gone = true; }
  bool *gone;
};

TEST(WaveHeaderPlay, PointsIntoTheSampleAndHoldsItUntilDestroyed) {
  bool gone = false;
  uint8_t *data = nullptr;
  RCPtr<AV::IMediaSample> sample(new WatchedSample(&gone, &data));
  RCPtr<WaveHeaderPlayMM> h = MakeRC<WaveHeaderPlayMM>(sample);
  sample.Reset();
  EXPECT_FALSE(gone);
  EXPECT_EQ(h->Header()->lpData, reinterpret_cast<char *>(data));
  EXPECT_EQ(h->Header()->dwBufferLength, 64u);
  h.Reset();
  EXPECT_TRUE(gone);
}

TEST(WaveHeaderPlay, NullSampleFailsThePointerCheckAndStaysEmpty) {
  ScopedAssertionRecord record;
  WaveHeaderPlayMM h{RCPtr<AV::IMediaSample>()};
  EXPECT_EQ(record->line, CheckSites::kEmptyPointer.line);
  EXPECT_EQ(h.Header()->lpData, nullptr);
  EXPECT_EQ(h.Header()->dwBufferLength, 0u);
}

}  // namespace
