#include <gtest/gtest.h>

#include "filters/MediaSample.h"
#include "filters/RCVectorMediaSample.h"

namespace {

struct Info {
  int64_t start = -1, duration = -1;
  const uint8_t *data = nullptr;
  uint32_t bytes = 0;
  explicit Info(AV::IMediaSample *s) { s->GetInfo(&start, &duration, &data, &bytes); }
};

TEST(MediaSample, HandsOutItsOwnBufferAndTimes) {
  uint8_t *fill = nullptr;
  RCPtr<AV::IMediaSample> s(new AV::MediaSample(123, 456, 32, &fill));
  ASSERT_NE(fill, nullptr);
  fill[31] = 31;
  const Info info(s.get());
  EXPECT_EQ(info.start, 123);
  EXPECT_EQ(info.duration, 456);
  EXPECT_EQ(info.bytes, 32u);
  EXPECT_EQ(info.data, fill);
  EXPECT_EQ(info.data[31], 31);
  s->GetInfo(nullptr, nullptr, nullptr, nullptr);  // nothing asked, nothing done
}

TEST(RCVectorMediaSample, SharesTheVectorAndCountsBytes) {
  RCPtr<rcvector<short>> v(new rcvector<short>(1000, 7));
  {
    RCPtr<AV::IMediaSample> s(new RCVectorMediaSample(v.get()));
    EXPECT_EQ(v->RefCount(), 2);
    const Info info(s.get());
    EXPECT_EQ(info.bytes, 2000u);
    EXPECT_EQ(info.start, 0);
    EXPECT_EQ(info.duration, 0);
    EXPECT_EQ(reinterpret_cast<const short *>(info.data), v->data());
  }
  EXPECT_EQ(v->RefCount(), 1);  // the sample let go of its reference
}

TEST(RCVectorMediaSample, NullVectorIsRecordedNotDereferenced) {
  ScopedAssertionRecord record;
  RCPtr<AV::IMediaSample> s(new RCVectorMediaSample(nullptr));
  const uint8_t *data = reinterpret_cast<const uint8_t *>(1);
  uint32_t bytes = 99;
  s->GetData(&data, &bytes);
  EXPECT_STREQ(record->file, "RCPtr");
  EXPECT_EQ(record->line, 278);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(bytes, 0u);
}

}  // namespace
