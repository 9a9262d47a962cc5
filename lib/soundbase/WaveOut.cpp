#include "WaveOut.h"

#include "general/CheckSites.h"

WaveOut::WaveOut(UninitCaller *root)
    : resident_(root, this, MakeDelegate<void()>(this, &WaveOut::Uninit),
                MakeDelegate<void()>(this, &WaveOut::ReleaseHandlers)) {}

// Stopping first: the device must not be left playing buffers that are freed here.
WaveOut::~WaveOut() {
  if (state_ == 2) Stop();
  CloseDevice();
}

void WaveOut::Start() {
  if (!Check(state_ == 1, CheckSites::kPlaybackStartNotOpen)) return;
  state_ = 2;
}

void WaveOut::WriteSample(RCPtr<AV::IMediaSample> sample) {
  if (!Check(state_ == 2, CheckSites::kPlaybackWriteNotPlaying)) return;
  RCPtr<WaveHeaderPlayMM> buffer = MakeRC<WaveHeaderPlayMM>(std::move(sample));
  WAVEHDR *h = buffer->Header();
  if (!Check(waveOutPrepareHeader(device_.Get(), h, sizeof(WAVEHDR)) == MMSYSERR_NOERROR,
             CheckSites::kPlaybackPrepareFailed))
    return;
  if (!Check(waveOutWrite(device_.Get(), h, sizeof(WAVEHDR)) == MMSYSERR_NOERROR, CheckSites::kPlaybackWriteFailed)) {
    waveOutUnprepareHeader(device_.Get(), h, sizeof(WAVEHDR));
    return;
  }
  queue_.push_back(std::move(buffer));
}

void WaveOut::ProcessEvent() {
  // The handler may drop the last outside reference to this device.
  RCPtr<WaveOut> keep(RefCount() > 0 ? this : nullptr);
  bool taken = false;
  while (!queue_.empty() && (queue_.front()->Header()->dwFlags & WHDR_DONE)) {
    queue_.pop_front();
    taken = true;
  }
  if (!taken || !handlers_.done.IsBound()) return;
  const DelegateRC<void()> done = handlers_.done;
  done();
}

void WaveOut::Stop() {
  if (!Check(state_ == 2, CheckSites::kPlaybackStopNotPlaying)) return;
  state_ = 3;
  if (!Check(waveOutReset(device_.Get()) == MMSYSERR_NOERROR, CheckSites::kPlaybackResetFailed)) return;
  while (!queue_.empty()) {
    if (!Check(waveOutUnprepareHeader(device_.Get(), queue_.front()->Header(), sizeof(WAVEHDR)) == MMSYSERR_NOERROR,
               CheckSites::kPlaybackUnprepareFailed))
      return;
    queue_.pop_front();
  }
  state_ = 1;
}

void WaveOut::Uninit() {
  if (state_ == 2) Stop();
  CloseDevice();
  state_ = 0;
}

// Buffers still queued after a failed stop are in the device's hands: take
// them back before their samples are released.
void WaveOut::TakeBackAll() {
  if (queue_.empty()) return;
  waveOutReset(device_.Get());
  for (RCPtr<WaveHeaderPlayMM> &buffer : queue_)
    waveOutUnprepareHeader(device_.Get(), buffer->Header(), sizeof(WAVEHDR));
  queue_.clear();
}

void WaveOut::CloseDevice() {
  TakeBackAll();
  device_.Reset();
}

void WaveOut::ReleaseHandlers() {
  const WaveOutHandlers old = handlers_;
  handlers_ = WaveOutHandlers();
}
