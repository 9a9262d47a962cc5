#include <gtest/gtest.h>

#include <vector>

#include "filters/Fifo2.h"
#include "filters/MediaSample.h"
#include "general/CheckRecord.h"

namespace {

// Queues samples whose bytes continue one counting sequence, and checks that
// reads give that sequence back unbroken.
struct Fifo2Test : ::testing::Test {
  RCPtr<AV::IMediaSample> Add(uint32_t length) {
    uint8_t *data = nullptr;
    RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, length, &data));
    for (uint32_t i = 0; i < length; ++i) data[i] = static_cast<uint8_t>(written++ * 7);
    fifo.Append(s.get());
    return s;
  }
  void ExpectRead(uint32_t count) {
    std::vector<uint8_t> out(count), expected(count);
    fifo.ReadNextBytes(out.data(), count);
    for (uint32_t i = 0; i < count; ++i) expected[i] = static_cast<uint8_t>((read + i) * 7);
    ASSERT_EQ(out, expected) << "read at " << read;
    read += count;
  }
  Fifo2 fifo;
  uint32_t written = 0, read = 0;
};

TEST_F(Fifo2Test, ReadsSpanSamplesAndLetEachGoWhenReadToItsEnd) {
  RCPtr<AV::IMediaSample> a = Add(1000), b = Add(3000);
  Add(500);
  EXPECT_EQ(fifo.GetAvailable(), 4500);
  ExpectRead(999);
  EXPECT_EQ(a->RefCount(), 2) << "one byte is still to be read";
  ExpectRead(1001);
  EXPECT_EQ(a->RefCount(), 1);
  EXPECT_EQ(b->RefCount(), 2);
  EXPECT_EQ(fifo.HeadOffset(), 1000u);
  ExpectRead(2000);
  EXPECT_EQ(b->RefCount(), 1);
  EXPECT_EQ(fifo.QueuedSamples(), 1u);
  ExpectRead(500);  // an exact read empties it
  EXPECT_EQ(fifo.GetAvailable(), 0);
  EXPECT_EQ(fifo.HeadOffset(), 0u);
  EXPECT_EQ(fifo.QueuedSamples(), 0u);
}

TEST_F(Fifo2Test, ManySmallReadsOverOddSamplesKeepTheStreamUnbroken) {
  for (uint32_t len : {1u, 13u, 250u, 2u, 99u, 1000u, 7u, 0u, 64u}) Add(len);
  while (fifo.GetAvailable() >= 97) ExpectRead(97);
  EXPECT_EQ(read + fifo.GetAvailable(), written);
  fifo.Clear();
  EXPECT_EQ(fifo.GetAvailable(), 0);
  EXPECT_EQ(fifo.QueuedSamples(), 0u);
}

TEST_F(Fifo2Test, OverlongReadIsRecordedAndChangesNothing) {
  ScopedAssertionRecord record;
  Add(100);
  std::vector<uint8_t> out(101, 0xEE);
  fifo.ReadNextBytes(out.data(), 101);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kFifoReadPastEnd));
  EXPECT_EQ(out, std::vector<uint8_t>(101, 0xEE));
  record.Clear();
  fifo.ReadNextBytes(nullptr, 0);  // a zero-length read is fine
  EXPECT_FALSE(record.Raised());
  ExpectRead(100);
}

}  // namespace
