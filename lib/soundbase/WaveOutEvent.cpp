#include "WaveOutEvent.h"

#include "general/CheckSites.h"

WaveOutEvent::WaveOutEvent(UninitCaller *root) : WaveOut(root), event_(MakeRC<EventHandleHolder>()) {
  event_->Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
}

WaveOutEvent::~WaveOutEvent() { event_.Reset(); }

void WaveOutEvent::Init(const WaveOutHandlers &handlers, const WAVEFORMATEX *format) {
  if (!Check(device_.State() == WaveState::kClosed, CheckSites::kPlaybackInitNotClosed)) return;
  handlers_ = handlers;
  // A missing format is left to the open call to refuse.
  if (format) format_ = TWaveFormatEx(*format);
  device_.Open(format, reinterpret_cast<DWORD_PTR>(Event()), CALLBACK_EVENT);
}
