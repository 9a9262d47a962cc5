#include "wave/LivePlayback.h"

#include <algorithm>
#include <cstring>

#include "base/SoundFormat.h"
#include "wave/SampleClock.h"

namespace platform::wave {

void LivePlayback::OnQueued() {
  if (!Present()) {
    if (!FrontScheduled()) {  // the new buffer waits its turn behind a scheduled one
      BeginRun();
      ScheduleFront();
    }
  } else {
    // Also completes a buffer with nothing to play at once.
    HandOver();
    // Counted once it is in the ring, so the audio thread never takes it for late.
    written_.store(output_.RingPosition(QueuedEnd()), std::memory_order_release);
  }
  RunLink(true);
}

uint32_t LivePlayback::OnReset() {
  RunLink(false);
  Empty();
  if (!Present()) {
    CancelFront();
    return 0;
  }
  std::string unused;
  output_.Begin(LinkRate(), 0, &unused);
  return 0;
}

// The link's audio thread.
void LivePlayback::Exchange(int16_t *out, size_t count) {
  const size_t k = ring_.Read(out, count);
  const uint64_t taken = taken_.load(std::memory_order_relaxed) + k;
  taken_.store(taken, std::memory_order_release);
  const bool first = Exchanged(count);
  if (k == count) {
    signal_.Raise();
    return;
  }
  std::memset(out + k, 0, drovane::kBytesPerSample * (count - k));
  const bool owed = taken < written_.load(std::memory_order_acquire);
  if (owed) losses_->Add(AtProgramRate(count - k));
  if (k > 0 || owed || first) signal_.Raise();
}

// The program thread, inside a platform wait (or a write).
void LivePlayback::HandOver() {
  if (Returning() && Sounded()) Returned();  // it took its first sound
  if (!Present()) return;  // raised before the link stopped
  const uint64_t taken = taken_.load(std::memory_order_acquire);
  while (!starts_.empty() && output_.RingPosition(starts_.front() + Samples(device_->Queue().front())) <= taken) {
    starts_.pop_front();
    device_->CompleteFront();
  }
  Feed();
}

// Copies the written sound that is not in the ring yet, as far as it fits;
// with all of it in, lets out what the converter holds.
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
      fed_ += output_.Drain(ring_);
      return;
    }
    const uint64_t offset = fed_ - starts_[i];
    const size_t n = Samples(queue[i]) - offset;
    const size_t put = output_.Write(ring_, queue[i]->lpData + drovane::kBytesPerSample * offset, n);
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

void LivePlayback::Empty() {
  ring_.Clear();
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
  BeginRun();
  origin_ = since - SamplesToClock(played);
  ScheduleFront();
}

void LivePlayback::FrontDue() {
  const uint32_t n = Samples(device_->Queue().front());
  CountAway(n);
  done_ += n;
  device_->CompleteFront();
  ScheduleFront();
}

// What the clock has played to nothing meanwhile is done; the rest plays,
// into the ring emptied when the device went away.
bool LivePlayback::OnBack(std::string *error) {
  if (!device_) return output_.Begin(LinkRate(), 0, error);  // the first open
  uint64_t played = 0;
  if (CancelFront()) {
    while (!device_->Queue().empty()) {
      const WAVEHDR *h = device_->Queue().front();
      played = HeardOfFront(h);
      if (played < Samples(h)) break;
      played = 0;
      done_ += Samples(h);
      device_->CompleteFront();
    }
  }
  if (!output_.Begin(LinkRate(), played, error)) return false;
  if (!device_->Queue().empty()) starts_.push_back(0);
  fed_ = played;
  Feed();
  written_.store(output_.RingPosition(QueuedEnd()), std::memory_order_release);
  return true;
}

}  // namespace platform::wave
