#include "wave/LiveCapture.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "base/SoundFormat.h"
#include "wave/SampleClock.h"

namespace platform::wave {

LiveCapture::LiveCapture(LiveEndpoint endpoint, WaveAudio &wave, LossCounter *overruns)
    : link_(std::move(endpoint), wave, *this, *this), pacer_([this] { FrontDue(); }), overruns_(overruns) {}

void LiveCapture::OnStart() {
  link_.Use(true);
  if (!link_.Running()) Pace(Now());
}

// The queue ran dry for a while: the silence meanwhile went unheard.
void LiveCapture::OnQueued() {
  if (link_.Running() || !device_->Started() || pacer_.Scheduled()) return;
  pacer_.CatchUp();
  pacer_.Schedule(*device_);
}

uint32_t LiveCapture::OnReset() {
  link_.Use(false);
  lacking_.store(0, std::memory_order_relaxed);
  link_.Ring().Clear();
  if (link_.Running()) {
    std::string unused;
    input_.Begin(link_.Rate(), &unused);  // what it held goes with the ring's
  } else if (pacer_.Cancel()) {
    SilenceFront(pacer_.HeardOfFront(device_->Queue().front()));
  }
  const uint32_t recorded = frontFill_ * drovane::kBytesPerSample;
  frontFill_ = 0;
  return recorded;
}

void LiveCapture::OnAbandoned() {
  pacer_.Abandon();
  link_.Abandon();
}

// The link's audio thread.
void LiveCapture::Exchange(const ServerBuffer &recorded) {
  const size_t n = recorded.count;
  const size_t kept = recorded.Into(link_.Ring());
  if (kept < n) overruns_->Add(link_.AtProgramRate(n - kept));
  const bool first = link_.Exchanged(n);
  if (first || link_.AtProgramRate(link_.Ring().Readable()) >= lacking_.load(std::memory_order_relaxed))
    link_.Raise();
}

// The program thread, inside a platform wait.
void LiveCapture::OnHandOver() {
  while (!device_->Queue().empty()) {
    WAVEHDR *h = device_->Queue().front();
    const uint32_t capacity = Samples(h);
    char *unfilled = h->lpData + drovane::kBytesPerSample * frontFill_;
    frontFill_ += static_cast<uint32_t>(input_.Read(link_.Ring(), unfilled, capacity - frontFill_));
    if (frontFill_ < capacity) {
      lacking_.store(capacity - frontFill_, std::memory_order_relaxed);
      return;
    }
    CompleteFront();
  }
  // Nothing queued to take it: dropped, as the microphone's sound is.
  lacking_.store(0, std::memory_order_relaxed);
  int16_t scrap[512];
  uint64_t dropped = 0;
  while (size_t n = input_.Read(link_.Ring(), scrap, std::size(scrap))) dropped += n;
  if (dropped) overruns_->Add(dropped);
}

void LiveCapture::OnAway(Time since) {
  lacking_.store(0, std::memory_order_relaxed);
  link_.Ring().Clear();
  if (device_->Started()) Pace(since);
}

// Silence up to when the sound waiting in the ring began.
bool LiveCapture::OnBack(int rate, std::string *error) {
  lacking_.store(0, std::memory_order_relaxed);
  if (!input_.Begin(rate, error)) return false;
  if (device_ && device_->Started())
    SilenceUpTo(Now() - SamplesToClock(link_.AtProgramRate(link_.Ring().Readable())));
  return true;
}

// The front buffer holds frontFill_ samples already: its time began that
// much before `since`.
void LiveCapture::Pace(Time since) {
  pacer_.Begin(since - SamplesToClock(frontFill_));
  pacer_.Schedule(*device_);
}

void LiveCapture::FrontDue() {
  SilenceFront(Samples(device_->Queue().front()));
  pacer_.Complete(frontFill_);
  CompleteFront();
  pacer_.Schedule(*device_);
}

void LiveCapture::SilenceUpTo(Time end) {
  if (!pacer_.Cancel()) return;
  while (!device_->Queue().empty()) {
    const uint32_t n = Samples(device_->Queue().front());
    SilenceFront(static_cast<uint32_t>(std::min<uint64_t>(pacer_.Owed(end), n)));
    if (frontFill_ < n) return;
    pacer_.Complete(n);
    CompleteFront();
  }
}

void LiveCapture::SilenceFront(uint32_t samples) {
  if (samples <= frontFill_) return;
  char *h = device_->Queue().front()->lpData;
  std::memset(h + drovane::kBytesPerSample * frontFill_, 0, drovane::kBytesPerSample * (samples - frontFill_));
  link_.CountAway(samples - frontFill_);
  frontFill_ = samples;
}

void LiveCapture::CompleteFront() {
  const uint32_t n = frontFill_;
  frontFill_ = 0;
  device_->CompleteFront(n * drovane::kBytesPerSample);
}

}  // namespace platform::wave
