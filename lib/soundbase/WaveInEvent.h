#pragma once

#include "WaveIn.h"
#include "general/EventHandleHolder.h"
#include "general/RCPtr.h"

// The capture device as the program uses it: owns the auto-reset event on
// which the device reports finished buffers. The owner passes Event() to
// SetNotifyEvent before Init and has its loop call ProcessEvent whenever the
// event is signalled. The holder is shared (the loop keeps one too), so the
// event is closed when its last holder goes.
class WaveInEvent : public WaveIn {
 public:
  WaveInEvent(UninitCaller *root, double queueSeconds, double bufferMs);
  ~WaveInEvent() override;

  HANDLE Event() const { return event_->Get(); }
  const RCPtr<EventHandleHolder> &EventHolder() const { return event_; }

 private:
  RCPtr<EventHandleHolder> event_;
};
