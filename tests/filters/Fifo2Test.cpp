#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "filters/Fifo2.h"
#include "filters/MediaSample.h"

namespace {

// Appends a sample whose bytes continue the counting sequence from `next`.
RCPtr<AV::IMediaSample> Counting(uint32_t length, uint32_t *next) {
  uint8_t *data = nullptr;
  RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, length, &data));
  for (uint32_t i = 0; i < length; ++i) data[i] = static_cast<uint8_t>((*next)++ * 7);
  return s;
}

std::vector<uint8_t> Expected(uint32_t from, uint32_t count) {
  std::vector<uint8_t> v(count);
  for (uint32_t i = 0; i < count; ++i) v[i] = static_cast<uint8_t>((from + i) * 7);
  return v;
}

TEST(Fifo2, ReadsSpanSamplesAndDropThemWhenDone) {
  Fifo2 fifo;
  uint32_t next = 0;
  RCPtr<AV::IMediaSample> a = Counting(1000, &next), b = Counting(3000, &next), c = Counting(500, &next);
  fifo.Append(a.get());
  fifo.Append(b.get());
  fifo.Append(c.get());
  EXPECT_EQ(fifo.GetAvailable(), 4500);
  EXPECT_EQ(a->RefCount(), 2);

  std::vector<uint8_t> out(2000);
  fifo.ReadNextBytes(out.data(), 2000);
  EXPECT_EQ(out, Expected(0, 2000));
  EXPECT_EQ(a->RefCount(), 1);  // the first sample was read to its end and let go
  EXPECT_EQ(b->RefCount(), 2);
  EXPECT_EQ(fifo.HeadOffset(), 1000u);

  fifo.ReadNextBytes(out.data(), 2000);
  EXPECT_EQ(out, Expected(2000, 2000));
  EXPECT_EQ(b->RefCount(), 1);
  EXPECT_EQ(fifo.GetAvailable(), 500);
  EXPECT_EQ(fifo.QueuedSamples(), 1u);
}

TEST(Fifo2, ExactReadEmptiesIt) {
  Fifo2 fifo;
  uint32_t next = 0;
  fifo.Append(Counting(300, &next).get());
  fifo.Append(Counting(200, &next).get());
  std::vector<uint8_t> out(500);
  fifo.ReadNextBytes(out.data(), 500);
  EXPECT_EQ(out, Expected(0, 500));
  EXPECT_EQ(fifo.GetAvailable(), 0);
  EXPECT_EQ(fifo.HeadOffset(), 0u);
  EXPECT_EQ(fifo.QueuedSamples(), 0u);
}

TEST(Fifo2, OverlongReadChangesNothing) {
  ScopedAssertionRecord record;
  Fifo2 fifo;
  uint32_t next = 0;
  fifo.Append(Counting(100, &next).get());
  std::vector<uint8_t> out(101, 0xEE);
  fifo.ReadNextBytes(out.data(), 101);
  EXPECT_TRUE(record.Raised());
  EXPECT_STREQ(record->function, "Fifo2::ReadNextBytes");
  EXPECT_EQ(record->line, 90);
  EXPECT_EQ(out, std::vector<uint8_t>(101, 0xEE));
  EXPECT_EQ(fifo.GetAvailable(), 100);

  record.Clear();
  fifo.ReadNextBytes(nullptr, 0);  // a zero-length read does nothing
  EXPECT_FALSE(record.Raised());
  EXPECT_EQ(fifo.GetAvailable(), 100);
  EXPECT_EQ(fifo.HeadOffset(), 0u);
}

TEST(Fifo2, ManySmallReadsKeepTheStreamUnbroken) {
  Fifo2 fifo;
  uint32_t next = 0;
  uint32_t read = 0;
  std::vector<uint8_t> out(97);
  for (uint32_t len : {1u, 13u, 250u, 2u, 99u, 1000u, 7u, 0u, 64u}) fifo.Append(Counting(len, &next).get());
  while (fifo.GetAvailable() >= 97) {
    fifo.ReadNextBytes(out.data(), 97);
    ASSERT_EQ(out, Expected(read, 97));
    read += 97;
  }
  EXPECT_EQ(read + fifo.GetAvailable(), next);
  fifo.Clear();
  EXPECT_EQ(fifo.GetAvailable(), 0);
  EXPECT_EQ(fifo.QueuedSamples(), 0u);
}

}  // namespace
