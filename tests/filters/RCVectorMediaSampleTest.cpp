#include <gtest/gtest.h>

#include "filters/RCVectorMediaSample.h"
#include "general/CheckSites.h"

namespace {

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
  EXPECT_EQ(record->line, CheckSites::kEmptyPointer.line);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(bytes, 0u);
}

}  // namespace
