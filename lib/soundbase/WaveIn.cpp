#include "WaveIn.h"

#include <cmath>
#include <vector>

#include "general/CheckSites.h"

WaveIn::WaveIn(UninitCaller *root, double queueSeconds, double bufferMs)
    : position_(TWaveFormatEx::Default()),
      queueDuration_(queueSeconds),
      bufferDuration_(bufferMs),
      resident_(root, this, MakeDelegate<void()>(this, &WaveIn::Uninit),
                MakeDelegate<void()>(this, &WaveIn::ReleaseHandlers)) {}

void WaveIn::Init(const WaveInHandlers &handlers, const WAVEFORMATEX *format) {
  if (!Check(device_.State() == WaveState::kClosed, CheckSites::kCaptureInitNotClosed)) return;
  if (!Check(handlers.sample.IsBound(), CheckSites::kCaptureInitWithoutHandler)) return;
  handlers_ = MakeRC<HandlerSet>(handlers);
  // A missing format is left to the open call to refuse.
  if (format) position_.format = TWaveFormatEx(*format);
  device_.Open(format, reinterpret_cast<DWORD_PTR>(notifyEvent_), notifyEvent_ ? CALLBACK_EVENT : CALLBACK_NULL);
}

void WaveIn::ResetPosition() { position_.Reset(); }

void WaveIn::Start() {
  if (!Check(device_.State() == WaveState::kOpen, CheckSites::kCaptureStartNotOpen)) return;
  const auto count = static_cast<int>(std::ceil(queueDuration_ / (bufferDuration_ * 0.001)));
  for (int i = 0; i < count; ++i) AddHeader();
  if (!Check(waveInStart(device_.Handle()) == MMSYSERR_NOERROR, CheckSites::kCaptureStartFailed)) return;
  device_.Started();
}

// The position advances even if the buffer is lost: the time line then has a
// gap of one buffer, and every later buffer keeps its true time.
void WaveIn::AddHeader() { device_.Send(WaveHeaderMM::Next(position_, bufferDuration_)); }

void WaveIn::ProcessEvent() {
  // A handler may drop the last outside reference to this device.
  RCPtr<WaveIn> keep(RefCount() > 0 ? this : nullptr);
  // The list reuses the room of earlier calls (a nested call makes its own),
  // so a buffer costs no allocation beyond its own.
  std::vector<RCPtr<WaveHeaderMM>> done;
  done.swap(spareList_);
  while (RCPtr<WaveHeaderMM> buffer = device_.TakeFinished()) done.push_back(std::move(buffer));
  for (size_t i = 0; i < done.size(); ++i) AddHeader();
  const RCPtr<HandlerSet> set = handlers_;
  if (Check(set.get() && set.get()->handlers.sample.IsBound(), CheckSites::kCaptureWithoutHandler)) {
    for (RCPtr<WaveHeaderMM> &buffer : done) set.get()->handlers.sample(buffer.get());
  }
  done.clear();
  if (done.capacity() > spareList_.capacity()) done.swap(spareList_);
}

// The old set goes once the device no longer points at it, or later, when a
// ProcessEvent still calling it is done.
void WaveIn::ReleaseHandlers() {
  const RCPtr<HandlerSet> old = handlers_;
  handlers_.Reset();
}
