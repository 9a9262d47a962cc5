#include <gtest/gtest.h>

#include <vector>

#include "MeasureHarness.h"
#include "general/CheckRecord.h"
#include "measure/MeasurerBase.h"

namespace {

// A measurer of 1000-sample blocks that makes `perBlock` results for each,
// noting the first sample of every block it sees.
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
  // Writes `count` samples continuing one counting sequence.
  HRESULT Write(size_t count) {
    std::vector<int16_t> audio(count);
    for (int16_t &v : audio) v = next++;
    return m->WriteSample(AudioSample(audio, 0, count).get());
  }
  RCPtr<Counting> m{new Counting};
  RCPtr<ResultSink> sink{new ResultSink};
  int16_t next = 0;
  ScopedAssertionRecord record;
};

TEST_F(MeasurerBaseTest, StartTimesBecomeWholeSampleBytePositions) {
  m->SetStartPosition(10000000);
  EXPECT_EQ(m->ProcessedPosition(), 44100);
  EXPECT_EQ(m->WrittenPosition(), 44100);
  EXPECT_EQ(Measure::MeasurerBase::BytesFromTime(3401), 14);  // 14.998 rounds to 15, kept on a whole sample
}

TEST_F(MeasurerBaseTest, BlocksFormAcrossSamplesAndResultsCarryTheirTimes) {
  Run();
  m->perBlock = 3;
  Write(750);
  EXPECT_TRUE(m->firsts.empty());
  Write(750);
  EXPECT_EQ(m->firsts, std::vector<int16_t>{0});
  EXPECT_EQ(m->Unanalyzed(), 1000);
  EXPECT_EQ(m->WrittenPosition(), 3000);
  EXPECT_EQ(m->ProcessedPosition(), 2000);
  Write(500);
  ASSERT_EQ(sink->received.size(), 2u);
  EXPECT_EQ(sink->received[0].start, 0);
  EXPECT_EQ(sink->received[0].duration, 453515);
  EXPECT_EQ(sink->received[1].start, 453515);
  EXPECT_EQ(sink->received[1].duration, 453514);  // 907029 − 453515
  ASSERT_EQ(sink->received[1].records.size(), 3u);
  EXPECT_EQ(sink->received[1].records[2].level, 3);
  EXPECT_EQ(sink->received[1].records[2].note, 42.0);
  m->perBlock = 0;  // blocks without results write nothing
  Write(3500);
  EXPECT_EQ(m->firsts, (std::vector<int16_t>{0, 1000, 2000, 3000, 4000}));
  EXPECT_EQ(sink->received.size(), 2u);
}

TEST_F(MeasurerBaseTest, FailuresInTheStreamAreRecordedAndSkipped) {
  Run();
  m->blockStatus = E_FAIL;
  Write(2000);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kBlockNotProcessed));
  EXPECT_EQ(m->firsts.size(), 2u);
  EXPECT_EQ(m->ProcessedPosition(), 0) << "failed blocks do not advance";
  EXPECT_TRUE(sink->received.empty());
  m->blockStatus = 0;
  sink->status = E_FAIL;
  EXPECT_EQ(Write(2000), 0);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kResultsNotSent));
  EXPECT_EQ(sink->received.size(), 2u);
}

TEST_F(MeasurerBaseTest, SamplesAreRefusedUnlessRunningAndStopDropsTheRest) {
  EXPECT_EQ(Write(1000), E_FAIL);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kMeasurerWriteNotRunning));
  Run();
  Write(1500);
  m->Stop();
  EXPECT_EQ(m->Unanalyzed(), 0);
  EXPECT_EQ(m->WrittenPosition(), 3000);  // positions stay until the next start position
  EXPECT_EQ(Write(1000), E_FAIL);
}

TEST(MeasurerBaseInit, FailedInitialisationLeavesItUnstartable) {
  ScopedAssertionRecord record;
  RCPtr<Counting> m(new Counting);
  m->initStatus = E_FAIL;
  m->Init();
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kMeasurerInitFailed));
  EXPECT_EQ(m->GetState(), BaseFilter::kNotInitialised);
  m->SetStartPosition(0);
  EXPECT_EQ(m->Start(), E_UNEXPECTED);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kMeasurerStartFailed));
}

TEST(SampleDataPack, CountsRecordsAndRefusesBadSamples) {
  ScopedAssertionRecord record;
  uint8_t *data = nullptr, *none = nullptr;
  RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, 48, &data)), empty(new AV::MediaSample(0, 0, 0, &none));
  const Measure::Result *records = nullptr;
  unsigned count = 0;
  EXPECT_EQ(GetSampleSPLResults(s.get(), &records, &count), 0);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(reinterpret_cast<const uint8_t *>(records), data);
  EXPECT_EQ(GetSampleSPLResults(nullptr, &records, &count), E_INVALIDARG);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kResultsWithoutSample));
  EXPECT_EQ(GetSampleSPLResults(empty.get(), &records, &count), E_UNEXPECTED);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kResultsWithoutData));
}

}  // namespace
