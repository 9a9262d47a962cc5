#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filters/BaseFilter.h"
#include "filters/MediaSample.h"

namespace {

// A pin that logs what reaches it and answers writes with a chosen status.
struct Pin : BaseFilter {
  Pin(std::string name, std::vector<std::string> *log) : name(std::move(name)), log(log) {}
  HRESULT WriteSample(AV::IMediaSample *sample) override {
    if (forward) return BaseFilter::WriteSample(sample);
    log->push_back(name + ".write");
    return writeStatus;
  }
  HRESULT Start() override {
    log->push_back(name + ".start");
    return startStatus != 0 ? startStatus : BaseFilter::Start();
  }
  HRESULT Stop() override {
    log->push_back(name + ".stop");
    BaseFilter::Stop();
    return stopStatus;
  }
  std::string name;
  std::vector<std::string> *log;
  HRESULT writeStatus = 0, startStatus = 0, stopStatus = 0;
  bool forward = false;  // behave as the plain base filter
};

struct BaseFilterTest : ::testing::Test {
  BaseFilterTest() { filter->forward = true; }
  ~BaseFilterTest() override { filter->UnplugAll(); }
  RCPtr<AV::IMediaSample> Sample() {
    uint8_t *data;
    return RCPtr<AV::IMediaSample>(new AV::MediaSample(0, 0, 4, &data));
  }
  std::vector<std::string> log;
  RCPtr<Pin> filter{new Pin("f", &log)};
  RCPtr<Pin> a{new Pin("a", &log)};
  RCPtr<Pin> b{new Pin("b", &log)};
  ScopedAssertionRecord record;
};

TEST_F(BaseFilterTest, StartNeedsAPositionAndAStoppedFilter) {
  EXPECT_EQ(filter->Start(), E_UNEXPECTED);
  EXPECT_EQ(record->line, 112);
  EXPECT_EQ(filter->GetState(), BaseFilter::kStopped);
  ASSERT_EQ(filter->SetStartPosition(5), 0);
  EXPECT_EQ(filter->Start(), 0);
  EXPECT_EQ(filter->GetState(), BaseFilter::kRunning);
  EXPECT_EQ(filter->Start(), E_UNEXPECTED);
  EXPECT_EQ(record->line, 110);
  EXPECT_STREQ(record->function, "BaseFilter::Start");
  filter->Stop();
}

TEST_F(BaseFilterTest, PinsStartBeforeTheFilterAndPositionsTravelDown) {
  filter->PlugPin(a.get());
  filter->PlugPin(b.get());
  filter->SetStartPosition(42);
  EXPECT_EQ(a->GetStartPosition(), 42);
  EXPECT_TRUE(b->IsPositionSet());
  EXPECT_EQ(filter->NotifyEvent(IFilter::kEventStart), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"f.start", "a.start", "b.start"}));
  EXPECT_EQ(a->GetState(), BaseFilter::kRunning);
  filter->NotifyEvent(IFilter::kEventStop);
  EXPECT_EQ(b->GetState(), BaseFilter::kStopped);
}

TEST_F(BaseFilterTest, FailingPinKeepsTheFilterStopped) {
  filter->PlugPin(a.get());
  filter->SetStartPosition(0);
  a->startStatus = E_FAIL;
  EXPECT_EQ(filter->Start(), E_FAIL);
  EXPECT_EQ(record->line, 117);
  EXPECT_EQ(filter->GetState(), BaseFilter::kStopped);
}

TEST_F(BaseFilterTest, WritesOnlyWhileRunningAndStopAtTheFirstRefusal) {
  filter->PlugPin(a.get());
  filter->PlugPin(b.get());
  EXPECT_EQ(filter->WriteSample(Sample().get()), E_UNEXPECTED);
  EXPECT_EQ(record->line, 150);
  EXPECT_TRUE(log.empty());

  filter->SetStartPosition(0);
  filter->Start();
  log.clear();
  a->writeStatus = E_INVALIDARG;
  EXPECT_EQ(filter->WriteSample(Sample().get()), E_INVALIDARG);
  EXPECT_EQ(record->line, 155);
  EXPECT_EQ(log, std::vector<std::string>{"a.write"});
  a->writeStatus = 0;
  log.clear();
  EXPECT_EQ(filter->WriteSample(Sample().get()), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"a.write", "b.write"}));
  filter->Stop();
}

TEST_F(BaseFilterTest, PlugRules) {
  EXPECT_EQ(filter->PlugPin(nullptr), E_INVALIDARG);
  EXPECT_EQ(filter->PlugPin(filter.get()), E_INVALIDARG);
  EXPECT_EQ(record->line, 171);
  EXPECT_EQ(filter->PlugPin(a.get()), 0);
  EXPECT_EQ(filter->PlugPin(a.get()), E_INVALIDARG);
  EXPECT_EQ(record->line, 182);
  EXPECT_EQ(filter->UnplugPin(b.get()), E_INVALIDARG);
  EXPECT_EQ(record->line, 206);
  EXPECT_EQ(filter->PinCount(), 1u);

  filter->SetStartPosition(0);
  filter->Start();
  EXPECT_EQ(filter->PlugPin(b.get()), E_FAIL);
  EXPECT_EQ(record->line, 177);
  EXPECT_EQ(filter->UnplugPin(a.get()), E_FAIL);
  EXPECT_EQ(record->line, 199);
  EXPECT_EQ(filter->PinCount(), 1u);
  filter->Stop();
  EXPECT_EQ(a->RefCount(), 2);
  EXPECT_EQ(filter->UnplugPin(a.get()), 0);
  EXPECT_EQ(a->RefCount(), 1);
}

TEST_F(BaseFilterTest, StopStopsEveryPinAndClearsThePosition) {
  EXPECT_TRUE(filter->CheckPins());
  filter->PlugPin(a.get());
  filter->PlugPin(b.get());
  filter->SetStartPosition(0);
  filter->Start();
  log.clear();
  a->stopStatus = E_FAIL;
  EXPECT_EQ(filter->Stop(), 0);
  EXPECT_EQ(record->line, 136);
  EXPECT_EQ(log, (std::vector<std::string>{"f.stop", "a.stop", "b.stop"}));
  EXPECT_FALSE(filter->IsPositionSet());
  EXPECT_EQ(filter->Stop(), 0);  // stopping a stopped filter is fine
}

TEST_F(BaseFilterTest, UnprovidedOperationsAreRecorded) {
  EXPECT_EQ(filter->NotifyEvent(IFilter::kEventPush), 1);
  EXPECT_STREQ(record->function, "BaseFilter::Push");
  EXPECT_EQ(filter->QueryNoMoreData(1, 2), 1);
  EXPECT_EQ(record->line, 246);
  EXPECT_EQ(filter->GetWaveFormat(), nullptr);
  EXPECT_EQ(record->line, 235);
  EXPECT_EQ(filter->QueryDownstream(0, 0), E_NOINTERFACE);
  EXPECT_FALSE(filter->GetModeBit());
}

TEST_F(BaseFilterTest, OtherEventsFanOutUntilAFailure) {
  struct Refuser : Pin {
    using Pin::Pin;
    HRESULT NotifyEvent(int event) override { return event == 7 ? E_FAIL : Pin::NotifyEvent(event); }
  };
  RCPtr<Refuser> r(new Refuser("r", &log));
  filter->PlugPin(r.get());
  EXPECT_EQ(filter->NotifyEvent(7), E_FAIL);
  EXPECT_EQ(record->line, 97);
}

TEST(BaseFilterLifetime, DestroyingAPluggedFilterIsRecorded) {
  ScopedAssertionRecord record;
  std::vector<std::string> log;
  RCPtr<Pin> pin(new Pin("p", &log));
  {
    RCPtr<Pin> owner(new Pin("o", &log));
    owner->PlugPin(pin.get());
    owner->SetStartPosition(0);
    owner->Start();
  }
  EXPECT_EQ(record->line, 21);
  EXPECT_EQ(pin->RefCount(), 1);  // released with its owner
  EXPECT_EQ(pin->GetState(), BaseFilter::kStopped);  // stopped when the running owner died
}

}  // namespace
