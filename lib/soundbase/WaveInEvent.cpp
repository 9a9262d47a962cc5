#include "WaveInEvent.h"

WaveInEvent::WaveInEvent(UninitCaller *root, double queueSeconds, double bufferMs, int options)
    : WaveIn(root, queueSeconds, bufferMs, options), event_(MakeRC<EventHandleHolder>()) {
  event_->Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
}

WaveInEvent::~WaveInEvent() { event_.Reset(); }
