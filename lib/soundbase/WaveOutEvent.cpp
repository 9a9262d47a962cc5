#include "WaveOutEvent.h"

#include "general/CheckSites.h"

WaveOutEvent::WaveOutEvent(UninitCaller *root) : WaveOut(root), event_(MakeRC<EventHandleHolder>()) {
  event_->Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
}

WaveOutEvent::~WaveOutEvent() { event_.Reset(); }

void WaveOutEvent::Init(const WaveOutHandlers &handlers, const WAVEFORMATEX *format) {
  if (!Check(state_ == 0, CheckSites::kPlaybackInitNotClosed)) return;
  handlers_ = handlers;
  // A missing format is left to the open call to refuse.
  if (format) format_ = TWaveFormatEx(*format);
  device_.Reset();
  const MMRESULT r = waveOutOpen(device_.Put(), 0, format, reinterpret_cast<DWORD_PTR>(Event()), 0, CALLBACK_EVENT);
  if (!Check(r == MMSYSERR_NOERROR, CheckSites::kPlaybackOpenFailed)) return;
  state_ = 1;
}
