#pragma once

#include "WaveOut.h"
#include "general/EventHandleHolder.h"
#include "general/RCPtr.h"

// The playback device as the program uses it: owns the auto-reset event on
// which the device reports finished buffers, and opens the device with it.
// The owner has its loop call ProcessEvent whenever the event is signalled.
class WaveOutEvent : public WaveOut {
 public:
  explicit WaveOutEvent(UninitCaller *root);
  ~WaveOutEvent() override;

  // Opens the device in `format` (closed only; checks in file "WaveOutEvent").
  // The done handler need not be bound.
  void Init(const WaveOutHandlers &handlers, const WAVEFORMATEX *format);

  HANDLE Event() const { return event_->Get(); }
  const RCPtr<EventHandleHolder> &EventHolder() const { return event_; }

 private:
  RCPtr<EventHandleHolder> event_;
};
