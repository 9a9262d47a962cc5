#include "StrumTracker.h"

#include <algorithm>

namespace Strum {

namespace {

constexpr size_t kHistory = 1 << 15;  // 1.49 s: the attacks, the stretch and a block to spare

}  // namespace

StrumTracker::StrumTracker(const Measure::Tuning &tuning, double reference)
    : analyzer_(tuning, reference), history_(kHistory), stretch_(kBefore + kEnd) {
  found_.reserve(16);
}

void StrumTracker::Store(const int16_t *samples, size_t count) {
  for (size_t i = 0; i < count; ++i) history_[(position_ + i) % kHistory] = samples[i];
  position_ += static_cast<int64_t>(count);
}

// Blocks longer than the history are taken in parts, so that no stretch is
// overwritten before it is read.
void StrumTracker::Feed(const int16_t *samples, size_t count, std::vector<StrumReading> *readings) {
  constexpr size_t kPart = 2048;
  for (size_t done = 0; done < count; done += kPart) {
    const size_t part = std::min(kPart, count - done);
    Store(samples + done, part);
    found_.clear();
    onsets_.Feed(samples + done, part, &found_);
    for (const OnsetDetector::Onset &found : found_) {
      const int64_t onset = found.at;
      // A strum whose stretch ended before this onset is read first, as it
      // would have been had the block ended there.
      if (pending_ && onset >= *pending_ + kEnd) Read(*pending_ + kEnd, readings);
      const bool weak = onset - lastStrum_ < kEcho && found.flux < kWeakest * strongest_;
      const bool within = onset - lastStrum_ < kStrumSpread || onset - lastAttack_ < kChain;
      if (within || weak) {
        // A weak onset is no string struck: the stretch read does not wait for it.
        if (within) lastAttack_ = std::max(lastAttack_, onset);
        strongest_ = std::max(strongest_, found.flux);
        continue;
      }
      if (pending_) Read(onset - kGuard, readings);
      pending_ = lastStrum_ = lastAttack_ = onset;
      strongest_ = found.flux;
    }
    if (pending_ && position_ >= *pending_ + kEnd) Read(*pending_ + kEnd, readings);
  }
}

void StrumTracker::Finish(std::vector<StrumReading> *readings) {
  if (pending_) Read(std::min(position_, *pending_ + kEnd), readings);
}

// Reads the pending strum from its lead up to `end`.
void StrumTracker::Read(int64_t end, std::vector<StrumReading> *readings) {
  const int64_t onset = *pending_;
  pending_.reset();
  end = std::min(end, position_);
  int64_t start = std::max(onset + kLead, lastAttack_ + kSettle);
  if (end - start < kShortest) start = std::max(onset + kSettle, end - kShortest);
  const int64_t length = end - start;
  const int64_t first = std::max<int64_t>(0, onset - kBefore);
  if (length < kShortest || position_ - first > static_cast<int64_t>(kHistory)) return;
  for (int64_t i = first; i < start + length; ++i) stretch_[i - first] = history_[i % kHistory];
  StrumReading reading =
      analyzer_.Analyze(stretch_.data(), static_cast<int>(start + length - first), static_cast<int>(onset - first),
                        static_cast<int>(start - first));
  if (reading.Heard() == 0 || !analyzer_.Struck()) return;
  reading.onset = onset;
  reading.from = start;
  reading.to = start + length;
  reading.ready = position_;
  readings->push_back(reading);
}

std::vector<StrumReading> FindStrums(const Measure::Tuning &tuning, const int16_t *samples, size_t count,
                                     double reference) {
  StrumTracker tracker(tuning, reference);
  std::vector<StrumReading> readings;
  tracker.Feed(samples, count, &readings);
  tracker.Finish(&readings);
  return readings;
}

}  // namespace Strum
