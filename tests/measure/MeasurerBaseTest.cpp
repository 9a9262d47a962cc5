#include <gtest/gtest.h>

#include <vector>

#include "ResultSink.h"
#include "filters/MediaSample.h"
#include "measure/MeasurerBase.h"

namespace {

// A measurer that makes `perBlock` results for each block, noting the
// first sample of every block it sees.
struct Counting : Measure::MeasurerBase {
  HRESULT Initialize() override { return initStatus; }
  uint32_t GetBlockBytes() override { return 2000; }
  HRESULT ProcessBlock(const int16_t *block) override {
    firsts.push_back(block[0]);
    pending = perBlock;
    return blockStatus;
  }
  uint32_t GetResultCount() override { return pending; }
  void GetResults(Measure::Result *r) override {
    for (uint32_t i = 0; i < pending; ++i) r[i] = {static_cast<int16_t>(i + 1), 40.0 + i};
    pending = 0;
  }
  HRESULT initStatus = 0, blockStatus = 0;
  uint32_t perBlock = 1, pending = 0;
  std::vector<int16_t> firsts;
};

// Samples of `count` 16-bit values counting up from `*next`.
RCPtr<AV::IMediaSample> Audio(uint32_t count, int16_t *next) {
  uint8_t *data = nullptr;
  RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, 2 * count, &data));
  int16_t *v = reinterpret_cast<int16_t *>(data);
  for (uint32_t i = 0; i < count; ++i) v[i] = (*next)++;
  return s;
}

struct MeasurerBaseTest : ::testing::Test {
  MeasurerBaseTest() {
    m->Init();
    m->PlugPin(sink.get());
  }
  ~MeasurerBaseTest() override {
    m->Stop();
    m->UnplugAll();
  }
  void Run() {
    m->SetStartPosition(0);
    ASSERT_EQ(m->NotifyEvent(IFilter::kEventStart), 0);
  }
  RCPtr<Counting> m{new Counting};
  RCPtr<ResultSink> sink{new ResultSink};
  int16_t next = 0;
  ScopedAssertionRecord record;
};

TEST_F(MeasurerBaseTest, StartPositionBecomesABytePosition) {
  m->SetStartPosition(0);
  EXPECT_EQ(m->ProcessedPosition(), 0);
  EXPECT_EQ(m->WrittenPosition(), 0);
  m->SetStartPosition(10000000);
  EXPECT_EQ(m->ProcessedPosition(), 44100);
  EXPECT_EQ(m->WrittenPosition(), 44100);
  EXPECT_EQ(sink->GetStartPosition(), 10000000);
  EXPECT_EQ(Measure::MeasurerBase::BytesFromTime(3401), 14);  // 14.998 rounds to 15, kept on a whole sample
  EXPECT_EQ(Measure::MeasurerBase::TimeFromBytes(2000), 453515);
}

TEST_F(MeasurerBaseTest, BlocksFormAcrossSamples) {
  Run();
  m->WriteSample(Audio(750, &next).get());
  EXPECT_TRUE(m->firsts.empty());
  m->WriteSample(Audio(750, &next).get());
  EXPECT_EQ(m->firsts, std::vector<int16_t>{0});
  EXPECT_EQ(m->Unanalysed(), 1000);
  EXPECT_EQ(m->WrittenPosition(), 3000);
  EXPECT_EQ(m->ProcessedPosition(), 2000);
  m->WriteSample(Audio(3500, &next).get());
  EXPECT_EQ(m->firsts, (std::vector<int16_t>{0, 1000, 2000, 3000, 4000}));
}

TEST_F(MeasurerBaseTest, ResultSamplesCarryTheBlockTimes) {
  Run();
  m->perBlock = 3;
  m->WriteSample(Audio(2000, &next).get());
  ASSERT_EQ(sink->received.size(), 2u);
  EXPECT_EQ(sink->received[0].start, 0);
  EXPECT_EQ(sink->received[0].duration, 453515);
  EXPECT_EQ(sink->received[1].start, 453515);
  EXPECT_EQ(sink->received[1].duration, 453514);  // 907029 − 453515
  ASSERT_EQ(sink->received[0].records.size(), 3u);
  EXPECT_EQ(sink->received[0].records[2].level, 3);
  EXPECT_EQ(sink->received[0].records[2].note, 42.0);
}

TEST_F(MeasurerBaseTest, BlocksWithoutResultsWriteNothing) {
  Run();
  m->perBlock = 0;
  m->WriteSample(Audio(5000, &next).get());
  EXPECT_EQ(m->firsts.size(), 5u);
  EXPECT_TRUE(sink->received.empty());
  EXPECT_EQ(m->ProcessedPosition(), 10000);
}

TEST_F(MeasurerBaseTest, FailedBlocksAreSkippedWithoutAdvancing) {
  Run();
  m->blockStatus = E_FAIL;
  m->WriteSample(Audio(2000, &next).get());
  EXPECT_EQ(record->line, 140);
  EXPECT_EQ(m->firsts.size(), 2u);
  EXPECT_EQ(m->ProcessedPosition(), 0);
  EXPECT_TRUE(sink->received.empty());
}

TEST_F(MeasurerBaseTest, RefusedResultsAreRecordedAndTheStreamGoesOn) {
  Run();
  sink->status = E_FAIL;
  EXPECT_EQ(m->WriteSample(Audio(2000, &next).get()), 0);
  EXPECT_EQ(record->line, 214);
  EXPECT_EQ(sink->received.size(), 2u);
}

TEST_F(MeasurerBaseTest, SamplesAreRefusedUnlessRunning) {
  EXPECT_EQ(m->WriteSample(Audio(1000, &next).get()), E_FAIL);
  EXPECT_EQ(record->line, 91);
  Run();
  m->WriteSample(Audio(1500, &next).get());
  m->Stop();
  EXPECT_EQ(m->Unanalysed(), 0);  // unanalysed bytes are dropped
  EXPECT_EQ(m->WrittenPosition(), 3000);  // positions stay until the next start position
  EXPECT_EQ(m->WriteSample(Audio(1000, &next).get()), E_FAIL);
}

TEST(MeasurerBaseInit, FailedInitialisationLeavesItUnstartable) {
  ScopedAssertionRecord record;
  RCPtr<Counting> m(new Counting);
  m->initStatus = E_FAIL;
  m->Init();
  EXPECT_EQ(record->line, 36);
  EXPECT_EQ(m->GetState(), BaseFilter::kNotInitialised);
  m->SetStartPosition(0);
  EXPECT_EQ(m->Start(), E_UNEXPECTED);
  EXPECT_EQ(record->line, 58);
}

TEST(SampleDataPack, CountsRecordsAndRefusesBadSamples) {
  ScopedAssertionRecord record;
  uint8_t *data = nullptr;
  RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, 48, &data));
  const Measure::Result *records = nullptr;
  unsigned count = 0;
  EXPECT_EQ(GetSampleSPLResults(s.get(), &records, &count), 0);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(reinterpret_cast<const uint8_t *>(records), data);
  EXPECT_EQ(GetSampleSPLResults(nullptr, &records, &count), E_INVALIDARG);
  EXPECT_EQ(record->line, 11);
  RCPtr<AV::IMediaSample> empty(new AV::MediaSample(0, 0, 0, &data));
  EXPECT_EQ(GetSampleSPLResults(empty.get(), &records, &count), E_UNEXPECTED);
  EXPECT_EQ(record->line, 14);
  EXPECT_STREQ(record->file, "SampleDataPack");
}

}  // namespace
