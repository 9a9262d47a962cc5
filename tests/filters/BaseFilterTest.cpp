#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filters/BaseFilter.h"
#include "filters/MediaSample.h"
#include "general/CheckRecord.h"

namespace {

using Log = std::vector<std::string>;

// A pin that logs what reaches it and answers with chosen statuses.
struct Pin : BaseFilter {
  Pin(std::string name, Log *log) : name(std::move(name)), log(log) {}
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
  HRESULT NotifyEvent(int event) override { return event == refused ? E_FAIL : BaseFilter::NotifyEvent(event); }
  std::string name;
  Log *log;
  HRESULT writeStatus = 0, startStatus = 0, stopStatus = 0;
  int refused = -1;  // an event this pin fails
  bool forward = false;  // write as the plain base filter
};

// A filter `f` with pins `a` and `b` plugged in that order.
struct BaseFilterTest : ::testing::Test {
  BaseFilterTest() {
    filter->forward = true;
    filter->PlugPin(a.get());
    filter->PlugPin(b.get());
  }
  ~BaseFilterTest() override {
    filter->Stop();
    filter->UnplugAll();
  }
  void Run() {
    filter->SetStartPosition(0);
    ASSERT_EQ(filter->Start(), 0);
    log.clear();
  }
  HRESULT Write() {
    uint8_t *data;
    RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, 4, &data));
    return filter->WriteSample(s.get());
  }
  Log log;
  RCPtr<Pin> filter{new Pin("f", &log)}, a{new Pin("a", &log)}, b{new Pin("b", &log)};
  ScopedAssertionRecord record;
};

TEST_F(BaseFilterTest, StartNeedsAPositionAndAStoppedFilterAndStartsThePins) {
  EXPECT_EQ(filter->Start(), E_UNEXPECTED);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kFilterStartWithoutPosition));
  filter->SetStartPosition(42);
  EXPECT_EQ(a->GetStartPosition(), 42);  // positions travel down
  EXPECT_TRUE(b->IsPositionSet());
  a->startStatus = E_FAIL;
  EXPECT_EQ(filter->Start(), E_FAIL);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPinRefusedStart));
  EXPECT_EQ(filter->GetState(), BaseFilter::kStopped);
  a->startStatus = 0;
  log.clear();
  EXPECT_EQ(filter->NotifyEvent(IFilter::kEventStart), 0);
  EXPECT_EQ(log, (Log{"f.start", "a.start", "b.start"}));
  EXPECT_EQ(filter->GetState(), BaseFilter::kRunning);
  EXPECT_EQ(a->GetState(), BaseFilter::kRunning);
  EXPECT_EQ(filter->Start(), E_UNEXPECTED);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kFilterStartNotStopped));
}

TEST_F(BaseFilterTest, StopStopsEveryPinDespiteFailuresAndClearsThePosition) {
  Run();
  a->stopStatus = E_FAIL;
  EXPECT_EQ(filter->NotifyEvent(IFilter::kEventStop), 0);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPinRefusedStop));
  EXPECT_EQ(log, (Log{"f.stop", "a.stop", "b.stop"}));
  EXPECT_EQ(b->GetState(), BaseFilter::kStopped);
  EXPECT_FALSE(filter->IsPositionSet());
  EXPECT_EQ(filter->Stop(), 0);  // stopping a stopped filter is fine
}

TEST_F(BaseFilterTest, WritesOnlyWhileRunningAndStopAtTheFirstRefusal) {
  EXPECT_EQ(Write(), E_UNEXPECTED);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kFilterWriteNotRunning));
  EXPECT_TRUE(log.empty());
  Run();
  a->writeStatus = E_INVALIDARG;
  EXPECT_EQ(Write(), E_INVALIDARG);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPinRefusedSample));
  EXPECT_EQ(log, Log{"a.write"});
  a->writeStatus = 0;
  log.clear();
  EXPECT_EQ(Write(), 0);
  EXPECT_EQ(log, (Log{"a.write", "b.write"}));
}

TEST_F(BaseFilterTest, PinsChangeOnlyWhileStoppedAndOnlyByRule) {
  filter->UnplugAll();
  EXPECT_TRUE(filter->CheckPins());
  EXPECT_EQ(filter->PlugPin(nullptr), E_INVALIDARG);
  EXPECT_EQ(filter->PlugPin(filter.get()), E_INVALIDARG);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPlugInvalidPin));
  EXPECT_EQ(filter->PlugPin(a.get()), 0);
  EXPECT_EQ(filter->PlugPin(a.get()), E_INVALIDARG);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPlugTwice));
  EXPECT_EQ(filter->UnplugPin(b.get()), E_INVALIDARG);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kUnplugUnknownPin));
  Run();
  EXPECT_EQ(filter->PlugPin(b.get()), E_FAIL);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPlugWhileRunning));
  EXPECT_EQ(filter->UnplugPin(a.get()), E_FAIL);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kUnplugWhileRunning));
  EXPECT_EQ(filter->PinCount(), 1u);
  filter->Stop();
  EXPECT_EQ(a->RefCount(), 2);
  EXPECT_EQ(filter->UnplugPin(a.get()), 0);
  EXPECT_EQ(a->RefCount(), 1);
}

TEST_F(BaseFilterTest, OtherEventsFanOutUntilAPinFailsAndPushIsNotProvided) {
  b->refused = 7;
  EXPECT_EQ(filter->NotifyEvent(7), E_FAIL);
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kPinRefusedEvent));
  EXPECT_EQ(filter->NotifyEvent(IFilter::kEventPush), 1);
  EXPECT_STREQ(record->function, "BaseFilter::Push");
}

TEST(BaseFilterLifetime, DestroyingAPluggedRunningFilterStopsAndReleasesItsPins) {
  ScopedAssertionRecord record;
  Log log;
  RCPtr<Pin> pin(new Pin("p", &log));
  {
    RCPtr<Pin> owner(new Pin("o", &log));
    owner->PlugPin(pin.get());
    owner->SetStartPosition(0);
    owner->Start();
  }
  EXPECT_EQ(LastCheck(record), Text(CheckSites::kFilterDestroyedPlugged));
  EXPECT_EQ(pin->RefCount(), 1);
  EXPECT_EQ(pin->GetState(), BaseFilter::kStopped);
}

}  // namespace
