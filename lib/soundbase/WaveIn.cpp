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

WaveIn::~WaveIn() {
  if (state_ == 2) Stop();
  CloseDevice();
}

void WaveIn::Init(const WaveInHandlers &handlers, const WAVEFORMATEX *format) {
  if (!Check(state_ == 0, CheckSites::kCaptureInitNotClosed)) return;
  if (!Check(handlers.sample.IsBound(), CheckSites::kCaptureInitWithoutHandler)) return;
  handlers_ = MakeRC<HandlerSet>(handlers);
  // A missing format is left to the open call to refuse.
  if (format) position_.format = TWaveFormatEx(*format);
  const DWORD_PTR callback = reinterpret_cast<DWORD_PTR>(notifyEvent_);
  const DWORD flags = notifyEvent_ ? CALLBACK_EVENT : CALLBACK_NULL;
  device_.Reset();
  const MMRESULT r = waveInOpen(device_.Put(), 0, format, callback, 0, flags);
  if (!Check(r == MMSYSERR_NOERROR, CheckSites::kCaptureOpenFailed)) return;
  state_ = 1;
}

void WaveIn::ResetPosition() { position_.Reset(); }

void WaveIn::Start() {
  if (!Check(state_ == 1, CheckSites::kCaptureStartNotOpen)) return;
  const auto count = static_cast<int>(std::ceil(queueDuration_ / (bufferDuration_ * 0.001)));
  for (int i = 0; i < count; ++i) AddHeader();
  if (!Check(waveInStart(device_.Get()) == MMSYSERR_NOERROR, CheckSites::kCaptureStartFailed)) return;
  state_ = 2;
}

void WaveIn::AddHeader() {
  // The position advances even if the buffer is lost below: the time line
  // then has a gap of one buffer, and every later buffer keeps its true time.
  RCPtr<WaveHeaderMM> buffer = WaveHeaderMM::Next(position_, bufferDuration_);
  WAVEHDR *h = buffer->Header();
  if (!Check(waveInPrepareHeader(device_.Get(), h, sizeof(WAVEHDR)) == MMSYSERR_NOERROR,
             CheckSites::kCapturePrepareFailed))
    return;
  if (!Check(waveInAddBuffer(device_.Get(), h, sizeof(WAVEHDR)) == MMSYSERR_NOERROR,
             CheckSites::kCaptureAddBufferFailed)) {
    waveInUnprepareHeader(device_.Get(), h, sizeof(WAVEHDR));
    return;
  }
  queue_.push_back(std::move(buffer));
}

void WaveIn::ProcessEvent() {
  // A handler may drop the last outside reference to this device.
  RCPtr<WaveIn> keep(RefCount() > 0 ? this : nullptr);
  // The list reuses the room of earlier calls (a nested call makes its own),
  // so a buffer costs no allocation beyond its own.
  std::vector<RCPtr<WaveHeaderMM>> done;
  done.swap(spareList_);
  while (!queue_.empty() && (queue_.front()->Header()->dwFlags & WHDR_DONE)) {
    done.push_back(std::move(queue_.front()));
    queue_.pop_front();
  }
  for (size_t i = 0; i < done.size(); ++i) AddHeader();
  const RCPtr<HandlerSet> set = handlers_;
  if (Check(set.get() && set.get()->handlers.sample.IsBound(), CheckSites::kCaptureWithoutHandler)) {
    for (RCPtr<WaveHeaderMM> &buffer : done) set.get()->handlers.sample(buffer.get());
  }
  done.clear();
  if (done.capacity() > spareList_.capacity()) done.swap(spareList_);
}

void WaveIn::Stop() {
  if (!Check(state_ == 2, CheckSites::kCaptureStopNotCapturing)) return;
  state_ = 3;
  if (!Check(waveInReset(device_.Get()) == MMSYSERR_NOERROR, CheckSites::kCaptureResetFailed)) return;
  while (!queue_.empty()) {
    if (!Check(waveInUnprepareHeader(device_.Get(), queue_.front()->Header(), sizeof(WAVEHDR)) == MMSYSERR_NOERROR,
               CheckSites::kCaptureUnprepareFailed))
      return;
    queue_.pop_front();
  }
  state_ = 1;
}

void WaveIn::Uninit() {
  if (state_ == 2) Stop();
  CloseDevice();
  state_ = 0;
}

// Buffers still queued after a failed start or stop are in the device's
// hands: take them back before they are freed, or the device would write
// into freed memory and refuse to close.
void WaveIn::TakeBackAll() {
  if (queue_.empty()) return;
  waveInReset(device_.Get());
  for (RCPtr<WaveHeaderMM> &buffer : queue_) waveInUnprepareHeader(device_.Get(), buffer->Header(), sizeof(WAVEHDR));
  queue_.clear();
}

void WaveIn::CloseDevice() {
  TakeBackAll();
  device_.Reset();
}

// The old set goes once the device no longer points at it, or later, when a
// ProcessEvent still calling it is done.
void WaveIn::ReleaseHandlers() {
  const RCPtr<HandlerSet> old = handlers_;
  handlers_.Reset();
}
