#include "wave/LiveCapture.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "base/SoundFormat.h"
#include "wave/SampleClock.h"

namespace platform::wave {

void LiveCapture::OnStart() {
  RunLink(true);
  if (!Present()) Pace(Now());
}

void LiveCapture::OnQueued() {
  if (Present() || !device_->Started() || FrontScheduled()) return;
  // The queue ran dry for a while: the silence meanwhile went unheard.
  done_ = std::max(done_, ClockToSamples(Now() - origin_));
  ScheduleFront();
}

uint32_t LiveCapture::OnReset() {
  RunLink(false);
  lacking_.store(0, std::memory_order_relaxed);
  ring_.Clear();
  if (Present()) {
    std::string unused;
    input_.Begin(LinkRate(), &unused);  // what it held goes with the ring's
  } else if (CancelFront()) {
    SilenceFront(HeardOfFront(device_->Queue().front()));
  }
  const uint32_t recorded = frontFill_ * drovane::kBytesPerSample;
  frontFill_ = 0;
  return recorded;
}

// The link's audio thread.
void LiveCapture::Exchange(int16_t *samples, size_t n) {
  const size_t kept = ring_.Write(samples, n);
  if (kept < n) losses_->Add(AtProgramRate(n - kept));
  Exchanged(n);
  if (AtProgramRate(ring_.Readable()) >= lacking_.load(std::memory_order_relaxed)) signal_.Raise();
}

// The program thread, inside a platform wait.
void LiveCapture::HandOver() {
  if (Returning() && Sounded()) Returned();  // its first sound
  if (!Present()) return;  // raised before the link stopped, or not back yet
  while (!device_->Queue().empty()) {
    WAVEHDR *h = device_->Queue().front();
    const uint32_t capacity = Samples(h);
    char *unfilled = h->lpData + drovane::kBytesPerSample * frontFill_;
    frontFill_ += static_cast<uint32_t>(input_.Read(ring_, unfilled, capacity - frontFill_));
    if (frontFill_ < capacity) {
      lacking_.store(capacity - frontFill_, std::memory_order_relaxed);
      return;
    }
    frontFill_ = 0;
    device_->CompleteFront(capacity * drovane::kBytesPerSample);
  }
  // Nothing queued to take it: dropped, as the microphone's sound is.
  lacking_.store(0, std::memory_order_relaxed);
  int16_t scrap[512];
  uint64_t dropped = 0;
  while (size_t n = input_.Read(ring_, scrap, std::size(scrap))) dropped += n;
  if (dropped) losses_->Add(dropped);
}

void LiveCapture::OnAway(Time since) {
  lacking_.store(0, std::memory_order_relaxed);
  ring_.Clear();
  if (device_->Started()) Pace(since);
}

// Silence up to when the sound waiting in the ring began.
bool LiveCapture::OnBack(std::string *error) {
  lacking_.store(0, std::memory_order_relaxed);
  if (!input_.Begin(LinkRate(), error)) return false;
  if (device_ && device_->Started()) SilenceUpTo(Now() - SamplesToClock(AtProgramRate(ring_.Readable())));
  return true;
}

// The front buffer holds frontFill_ samples already: its time began that
// much before `since`.
void LiveCapture::Pace(Time since) {
  BeginRun();
  origin_ = since - SamplesToClock(frontFill_);
  ScheduleFront();
}

void LiveCapture::FrontDue() {
  const uint32_t n = Samples(device_->Queue().front());
  SilenceFront(n);
  frontFill_ = 0;
  done_ += n;
  device_->CompleteFront(n * drovane::kBytesPerSample);
  ScheduleFront();
}

void LiveCapture::SilenceUpTo(Time end) {
  if (!CancelFront()) return;
  const uint64_t heard = ClockToSamples(end - origin_);
  while (!device_->Queue().empty()) {
    const uint32_t n = Samples(device_->Queue().front());
    SilenceFront(static_cast<uint32_t>(std::min<uint64_t>(heard > done_ ? heard - done_ : 0, n)));
    if (frontFill_ < n) return;
    frontFill_ = 0;
    done_ += n;
    device_->CompleteFront(n * drovane::kBytesPerSample);
  }
}

void LiveCapture::SilenceFront(uint32_t samples) {
  if (samples <= frontFill_) return;
  char *h = device_->Queue().front()->lpData;
  std::memset(h + drovane::kBytesPerSample * frontFill_, 0, drovane::kBytesPerSample * (samples - frontFill_));
  CountAway(samples - frontFill_);
  frontFill_ = samples;
}

}  // namespace platform::wave
