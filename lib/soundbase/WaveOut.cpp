#include "WaveOut.h"

#include "general/CheckSites.h"

WaveOut::WaveOut(UninitCaller *root)
    : resident_(root, this, MakeDelegate<void()>(this, &WaveOut::Uninit),
                MakeDelegate<void()>(this, &WaveOut::ReleaseHandlers)) {}

void WaveOut::Start() {
  if (!Check(device_.State() == WaveState::kOpen, CheckSites::kPlaybackStartNotOpen)) return;
  device_.Started();
}

void WaveOut::WriteSample(RCPtr<AV::IMediaSample> sample) {
  if (!Check(device_.State() == WaveState::kRunning, CheckSites::kPlaybackWriteNotPlaying)) return;
  device_.Send(MakeRC<WaveHeaderPlayMM>(std::move(sample)));
}

void WaveOut::ProcessEvent() {
  // The handler may drop the last outside reference to this device.
  RCPtr<WaveOut> keep(RefCount() > 0 ? this : nullptr);
  bool taken = false;
  while (device_.TakeFinished()) taken = true;
  if (!taken || !handlers_.done.IsBound()) return;
  const DelegateRC<void()> done = handlers_.done;
  done();
}

void WaveOut::ReleaseHandlers() {
  const WaveOutHandlers old = handlers_;
  handlers_ = WaveOutHandlers();
}
