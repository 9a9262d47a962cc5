#include <gtest/gtest.h>

#include "filters/MediaSample.h"
#include "filters/RCVectorMediaSample.h"

namespace {

TEST(MediaSample, ReportsWhatItWasBuiltWith) {
  uint8_t *fill = nullptr;
  RCPtr<AV::IMediaSample> s(new AV::MediaSample(123, 456, 32, &fill));
  ASSERT_NE(fill, nullptr);
  for (int i = 0; i < 32; ++i) fill[i] = static_cast<uint8_t>(i);
  int64_t start = 0, duration = 0;
  const uint8_t *data = nullptr;
  uint32_t bytes = 0;
  s->GetInfo(&start, &duration, &data, &bytes);
  EXPECT_EQ(start, 123);
  EXPECT_EQ(duration, 456);
  EXPECT_EQ(bytes, 32u);
  EXPECT_EQ(data, fill);
  EXPECT_EQ(s->GetFlags(), 0);
  const uint8_t *again = nullptr;
  s->GetData(&again, &bytes);
  EXPECT_EQ(again, fill);
  EXPECT_EQ(again[31], 31);
  s->GetInfo(nullptr, nullptr, nullptr, nullptr);  // nothing asked, nothing done
}

TEST(RCVectorMediaSample, SharesTheVectorAndCountsBytes) {
  RCPtr<rcvector<short>> v(new rcvector<short>(1000, 7));
  {
    RCPtr<AV::IMediaSample> s(new RCVectorMediaSample(v.get()));
    EXPECT_EQ(v->RefCount(), 2);
    int64_t start = -1, duration = -1;
    const uint8_t *data = nullptr;
    uint32_t bytes = 0;
    s->GetInfo(&start, &duration, &data, &bytes);
    EXPECT_EQ(bytes, 2000u);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(duration, 0);
    EXPECT_EQ(reinterpret_cast<const short *>(data), v->data());
    EXPECT_EQ(s->GetFlags(), 0);
  }
  // The sample let go of its reference; the creator's keeps the vector.
  EXPECT_EQ(v->RefCount(), 1);
  EXPECT_EQ((*v)[999], 7);
}

TEST(RCVectorMediaSample, NullVectorIsRecordedNotDereferenced) {
  ScopedAssertionRecord record;
  RCPtr<AV::IMediaSample> s(new RCVectorMediaSample(nullptr));
  const uint8_t *data = reinterpret_cast<const uint8_t *>(1);
  uint32_t bytes = 99;
  s->GetData(&data, &bytes);
  EXPECT_TRUE(record.Raised());
  EXPECT_STREQ(record->file, "RCPtr");
  EXPECT_EQ(record->line, 278);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(bytes, 0u);
}

}  // namespace
