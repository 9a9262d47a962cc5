#include "WaveInEvent.h"

WaveInEvent::WaveInEvent(UninitCaller *root, double queueSeconds, double bufferMs)
    : WaveIn(root, queueSeconds, bufferMs), event_(MakeRC<EventHandleHolder>()) {
  event_->Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
}

WaveInEvent::~WaveInEvent() { event_.Reset(); }
