#pragma once

#include <cstdint>

#include "IMediaSample.h"
#include "Status.h"
#include "general/CRefCounter.h"

// A stage of the sample stream with an ordered list of downstream filters
// (its pins). Samples and control calls travel down the pins. Every call into
// a chain comes from the thread that owns it; no locks.
class IFilter : public virtual CRefCounter {
 public:
  // Events of NotifyEvent.
  static constexpr int kEventStart = 0;
  static constexpr int kEventStop = 1;
  static constexpr int kEventPush = 3;

  virtual HRESULT NotifyEvent(int event) = 0;
  // Position in 100 ns units from which the next start runs.
  virtual HRESULT SetStartPosition(int64_t position) = 0;
  virtual HRESULT WriteSample(AV::IMediaSample *sample) = 0;
  virtual HRESULT PlugPin(IFilter *pin) = 0;
  virtual HRESULT UnplugPin(IFilter *pin) = 0;
  virtual HRESULT UnplugAll() = 0;
  virtual bool CheckPins() = 0;
  virtual HRESULT IsNoMoreData(int a, int b) = 0;
  virtual HRESULT QueryNoMoreData(int a, int b) = 0;
  virtual bool GetModeBit() = 0;
  // The format of the data this filter produces; null when it does not say.
  virtual const void *GetWaveFormat() = 0;
  virtual HRESULT QueryDownstream(int a, int b) = 0;
};
