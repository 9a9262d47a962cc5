#pragma once

#include <cstdint>
#include <vector>

#include "IFilter.h"
#include "general/RCPtr.h"

// The pin list, run state and fan-out that every concrete filter inherits.
// Stopped after construction; plug pins, set the start position, then start.
// Samples are accepted only while running; pins change only while not.
// Failures record a check (file "BaseFilter") and return a status code; the
// pin list is unchanged by every failing call.
class BaseFilter : public IFilter {
 public:
  enum State : int32_t { kNotInitialised = 0, kRunning = 1, kStopped = 2 };

  BaseFilter() = default;
  BaseFilter(const BaseFilter &) = delete;
  BaseFilter &operator=(const BaseFilter &) = delete;
  // Stops a running filter; still plugged pins are recorded, then released.
  ~BaseFilter() override;

  HRESULT NotifyEvent(int event) override;
  HRESULT SetStartPosition(int64_t position) override;
  HRESULT WriteSample(AV::IMediaSample *sample) override;
  HRESULT PlugPin(IFilter *pin) override;
  HRESULT UnplugPin(IFilter *pin) override;
  HRESULT UnplugAll() override;
  bool CheckPins() override;
  HRESULT IsNoMoreData(int a, int b) override;
  HRESULT QueryNoMoreData(int a, int b) override;
  bool GetModeBit() override { return (modeFlags_ & 1u) != 0; }
  const void *GetWaveFormat() override;
  HRESULT QueryDownstream(int a, int b) override;

  // Starts the pins first, then this filter; needs a start position.
  virtual HRESULT Start();
  // Stops every pin (failures are recorded, the rest still stop), then this.
  virtual HRESULT Stop();
  virtual HRESULT Push();

  int32_t GetState() const { return state_; }
  bool IsPositionSet() const { return positionSet_; }
  int64_t GetStartPosition() const { return startPosition_; }
  size_t PinCount() const { return pins_.size(); }

 protected:
  std::vector<RCPtr<IFilter>>::iterator Find(IFilter *pin);

  std::vector<RCPtr<IFilter>> pins_;
  int32_t state_ = kStopped;
  int32_t startCount_ = 0;
  bool positionSet_ = false;
  int64_t startPosition_ = 0;
  // Bit 0 is what GetModeBit reports; bit 1 turns on counted start/stop.
  uint32_t modeFlags_ = 0;
};
