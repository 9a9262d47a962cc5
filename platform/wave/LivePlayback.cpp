#include "wave/LivePlayback.h"

#include <algorithm>

#include "base/SoundFormat.h"
#include "wave/SampleClock.h"

namespace platform::wave {

LivePlayback::LivePlayback(LiveEndpoint endpoint, WaveAudio &wave, LossCounter *underruns)
    : link_(std::move(endpoint), wave, *this, *this), pacer_([this] { FrontDue(); }), underruns_(underruns) {}

void LivePlayback::OnQueued() {
  if (link_.Running()) {
    OnHandOver();  // also completes a buffer with nothing to play at once
    Announce();
  } else if (!pacer_.Scheduled()) {  // else the new buffer waits its turn behind a scheduled one
    pacer_.Begin(Now());
    pacer_.Schedule(*device_);
  }
  link_.Use(true);
}

uint32_t LivePlayback::OnReset() {
  link_.Use(false);
  Empty();
  if (!link_.Running()) {
    pacer_.Cancel();
    return 0;
  }
  std::string unused;
  output_.Begin(link_.Rate(), 0, &unused);
  return 0;
}

void LivePlayback::OnAbandoned() {
  pacer_.Abandon();
  link_.Abandon();
}

// The link's audio thread.
void LivePlayback::Exchange(const ServerBuffer &out) {
  const size_t count = out.count;
  const size_t k = out.From(link_.Ring());
  const uint64_t taken = taken_.load(std::memory_order_relaxed) + k;
  taken_.store(taken, std::memory_order_release);
  if (count > period_.load(std::memory_order_relaxed)) period_.store(count, std::memory_order_relaxed);
  const bool first = link_.Exchanged(count);
  if (k == count) {
    link_.Raise();
    return;
  }
  out.SilenceFrom(k);
  const bool owed = taken < written_.load(std::memory_order_acquire);
  if (owed) underruns_->Add(link_.AtProgramRate(count - k));
  if (k > 0 || owed || first) link_.Raise();
}

// The program thread, inside a platform wait (or a write).
void LivePlayback::OnHandOver() {
  const uint64_t taken = taken_.load(std::memory_order_acquire);
  while (!starts_.empty() && output_.RingPosition(starts_.front() + Samples(device_->Queue().front())) <= taken) {
    starts_.pop_front();
    device_->CompleteFront();
  }
  Feed();
}

// Copies the written sound that is not in the ring yet, as far as it fits.
// With all of it in, what the converter still holds is let out only when
// the ring is about to run dry: let out early, it would put silence between
// this buffer and the next one written.
void LivePlayback::Feed() {
  const std::deque<WAVEHDR *> &queue = device_->Queue();
  for (;;) {
    const size_t k = starts_.size();
    size_t i = k;
    if (k > 0 && fed_ < starts_[k - 1] + Samples(queue[k - 1])) {
      i = k - 1;
    } else if (k < queue.size()) {
      starts_.push_back(fed_);
    } else {
      if (link_.Ring().Readable() < 2 * period_.load(std::memory_order_relaxed)) fed_ += output_.Drain(link_.Ring());
      return;
    }
    const uint64_t offset = fed_ - starts_[i];
    const size_t n = Samples(queue[i]) - offset;
    const size_t put = output_.Write(link_.Ring(), queue[i]->lpData + drovane::kBytesPerSample * offset, n);
    fed_ += put;
    if (put < n) return;
  }
}

uint64_t LivePlayback::QueuedEnd() const {
  const std::deque<WAVEHDR *> &queue = device_->Queue();
  const size_t k = starts_.size();
  uint64_t end = k > 0 ? std::max(fed_, starts_[k - 1] + Samples(queue[k - 1])) : fed_;
  for (size_t i = k; i < queue.size(); ++i) end += Samples(queue[i]);
  return end;
}

// Counted once it is in the ring, so the audio thread never takes it for late.
void LivePlayback::Announce() { written_.store(output_.RingPosition(QueuedEnd()), std::memory_order_release); }

void LivePlayback::Empty() {
  link_.Ring().Clear();
  written_ = 0;
  taken_ = 0;
  starts_.clear();
  fed_ = 0;
}

// From how far the device had played into the front buffer.
void LivePlayback::OnAway(Time since) {
  uint64_t played = 0;
  if (!starts_.empty()) {
    const uint64_t at = output_.StreamPosition(taken_.load(std::memory_order_acquire));
    played = std::min<uint64_t>(at > starts_.front() ? at - starts_.front() : 0, Samples(device_->Queue().front()));
  }
  Empty();
  if (device_->Queue().empty()) return;
  pacer_.Begin(since - SamplesToClock(played));
  pacer_.Schedule(*device_);
}

void LivePlayback::FrontDue() {
  const uint32_t n = Samples(device_->Queue().front());
  link_.CountAway(n);
  pacer_.Complete(n);
  device_->CompleteFront();
  pacer_.Schedule(*device_);
}

// What the clock has played to nothing meanwhile is done; the rest plays,
// into the ring emptied when the device went away.
bool LivePlayback::OnBack(int rate, std::string *error) {
  if (!device_) return output_.Begin(rate, 0, error);  // the first open
  uint64_t played = 0;
  if (pacer_.Cancel()) {
    while (!device_->Queue().empty()) {
      const WAVEHDR *h = device_->Queue().front();
      played = pacer_.HeardOfFront(h);
      if (played < Samples(h)) break;
      played = 0;
      pacer_.Complete(Samples(h));
      device_->CompleteFront();
    }
  }
  if (!output_.Begin(rate, played, error)) return false;
  if (!device_->Queue().empty()) starts_.push_back(0);
  fed_ = played;
  Feed();
  Announce();
  return true;
}

}  // namespace platform::wave
