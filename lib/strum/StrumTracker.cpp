#include "StrumTracker.h"

#include <algorithm>

#include "measure/MidiTypes.h"

namespace Strum {

namespace {

constexpr size_t kHistory = 1 << 15;  // 1.49 s: the attacks, the stretch and a block to spare
// An onset is weighed once the window after it is in.
constexpr int64_t kWeighed = StruckStrings::kWindow;

// kReadable, or kPeriods of the lowest string's if longer: a bass's low B
// (31 Hz) needs a longer stretch to stand apart from its neighbours.
int64_t Readable(const Measure::Tuning &tuning, double reference) {
  const double lowest = *std::min_element(tuning.notes.begin(), tuning.notes.begin() + tuning.Strings());
  const double periods = StrumTracker::kPeriods * kSampleRate / FrequencyFromNote(lowest, reference);
  return std::max(StrumTracker::kReadable, static_cast<int64_t>(periods));
}

}  // namespace

StrumTracker::StrumTracker(const Measure::Tuning &tuning, double reference)
    : analyzer_(tuning, reference), struck_(tuning, reference), history_(kHistory), stretch_(kBefore + kEnd),
      readable_(Readable(tuning, reference)) {
  found_.reserve(16);
  waiting_.reserve(16);
  fluxes_.reserve(kMostAttacks);
  attacksAt_.reserve(kMostAttacks);
  attackOffsets_.reserve(kMostAttacks);
  sorted_.reserve(kMostAttacks);
  struckAt_.fill(-1);
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
    waiting_.insert(waiting_.end(), found_.begin(), found_.end());
    size_t weighed = 0;
    while (weighed < waiting_.size() && waiting_[weighed].at + kWeighed <= position_) Weigh(waiting_[weighed++], readings);
    waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(weighed));
    ReadDue(readings);
  }
}

// The pending strum is read once its stretch is in; an onset not weighed
// yet, unless far weaker than the strum's attacks, may be the next strum's,
// so the stretch ends before it.
void StrumTracker::ReadDue(std::vector<StrumReading> *readings) {
  if (!pending_ || position_ < *pending_ + kEnd) return;
  int64_t end = *pending_ + kEnd;
  for (const OnsetDetector::Onset &found : waiting_)
    if (found.at > *pending_ && found.flux >= kWeakest * strongest_) end = std::min(end, found.at - kGuard);
  Read(end, readings);
}

void StrumTracker::CompareAround(int64_t onset) {
  constexpr int kWindow = StruckStrings::kWindow;
  std::array<int16_t, 3 * kWindow> sound;
  const int64_t from = onset - 2 * kWindow;
  for (int t = 0; t < 3 * kWindow; ++t) sound[t] = from + t >= 0 ? history_[(from + t) % kHistory] : 0;
  struck_.Compare(sound.data());
}

// Whether the onset, weighed by StruckStrings, strikes again a string the
// last strum struck at an attack of its own: an attack as strong as the
// strum's own (half its attacks at least as strong as a third of it; a
// partial's swell in a string's tail is far weaker), well after that
// string's attack and the strum's start, and not far louder than the
// string was then (what the strum's first attack spread over a string
// struck later in it is not that string struck), and marked where it was
// loud enough beside the others to have been struck there.
bool StrumTracker::StrikesAgain(const OnsetDetector::Onset &found) {
  if (found.at - lastStrum_ < kAgain || fluxes_.empty()) return false;
  sorted_.assign(fluxes_.begin(), fluxes_.end());
  std::nth_element(sorted_.begin(), sorted_.begin() + sorted_.size() / 2, sorted_.end());
  if (found.flux < kWeakest * sorted_[sorted_.size() / 2]) return false;
  for (int s = 0; s < Strings(); ++s)
    if (struck_.Struck(s) && struckAt_[s] >= 0 && struckShare_[s] >= kMarked &&
        found.at - struckAt_[s] >= kSameAttack && struck_.Energy(s) <= kLouder * struckEnergy_[s])
      return true;
  return false;
}

// The loudest string's own partials' energy after the onset last weighed.
double StrumTracker::Loudest() const {
  double loudest = 1e-30;
  for (int s = 0; s < Strings(); ++s) loudest = std::max(loudest, struck_.Energy(s));
  return loudest;
}

void StrumTracker::Weigh(const OnsetDetector::Onset &found, std::vector<StrumReading> *readings) {
  const int64_t onset = found.at;
  // A strum whose stretch ended before this onset is read first, as it
  // would have been had the block ended there.
  if (pending_ && onset >= *pending_ + kEnd) Read(*pending_ + kEnd, readings);
  CompareAround(onset);
  const bool again = StrikesAgain(found);
  const bool weak = onset - lastStrum_ < kEcho && found.flux < kWeakest * strongest_;
  // A strum cut here would leave too little to read: this is its next string.
  const bool unread = onset - kGuard - (lastStrum_ + kSettle) < kShortest && onset - lastAttack_ < kLongChain;
  // Slow strings so far, each after the last: an arpeggio's next (a strum's
  // strings come faster, and the next strum's after a pause this long).
  const bool arpeggio = onset - lastAttack_ < kArpeggioGap && onset - lastStrum_ < kArpeggioSpread &&
                        lastAttack_ - lastStrum_ >= kArpeggioStep * (attacks_ - 1);
  const bool within =
      !again && (onset - lastStrum_ < kStrumSpread || onset - lastAttack_ < kChain || unread || arpeggio);
  if (within || (!again && weak)) {
    // A weak onset is no string struck: the stretch read does not wait for it.
    if (within) lastAttack_ = std::max(lastAttack_, onset);
    attacks_ += within && !weak;
    const double loudest = Loudest();
    for (int s = 0; s < Strings(); ++s) {
      // Marked at onsets of their own only: a weak one's window may hold the next string's attack.
      if (within && !weak && struck_.Lately(s) && struckAt_[s] < 0) struckAt_[s] = onset;
      if (struckAt_[s] >= 0 && onset - struckAt_[s] < kSameAttack) {
        struckEnergy_[s] = std::max(struckEnergy_[s], struck_.Energy(s));
        struckShare_[s] = std::max(struckShare_[s], struck_.Energy(s) / loudest);
      }
    }
    strongest_ = std::max(strongest_, found.flux);
    if (within && fluxes_.size() < fluxes_.capacity()) fluxes_.push_back(found.flux);
    if (within && attacksAt_.size() < attacksAt_.capacity()) attacksAt_.push_back(onset);
    return;
  }
  if (pending_) Read(onset - kGuard, readings);
  pending_ = lastStrum_ = lastAttack_ = onset;
  again_ = again;
  strongest_ = found.flux;
  fluxes_.assign(1, found.flux);
  attacksAt_.assign(1, onset);
  attacks_ = 1;
  const double loudest = Loudest();
  for (int s = 0; s < Strings(); ++s) {
    struckAt_[s] = struck_.Lately(s) ? onset : -1;
    struckEnergy_[s] = struck_.Energy(s);
    struckShare_[s] = struck_.Energy(s) / loudest;
  }
}

void StrumTracker::Finish(std::vector<StrumReading> *readings) {
  waiting_.clear();  // Feed weighed every onset whose window after it is in
  if (pending_) Read(std::min(position_, *pending_ + kEnd), readings);
}

// The strum at `onset` read from `start` to `end`; false when it is no
// strum: nothing heard, or nothing heard struck at its onset.
bool StrumTracker::ReadStretch(int64_t onset, int64_t start, int64_t end, StrumReading *reading) {
  const int64_t first = std::max<int64_t>(0, onset - kBefore);
  if (end - start < kShortest || position_ - first > static_cast<int64_t>(kHistory)) return false;
  for (int64_t i = first; i < end; ++i) stretch_[i - first] = history_[i % kHistory];
  attackOffsets_.clear();
  for (int64_t at : attacksAt_) attackOffsets_.push_back(static_cast<int>(at - first));
  *reading = analyzer_.Analyze(stretch_.data(), static_cast<int>(end - first), static_cast<int>(onset - first),
                               static_cast<int>(start - first), attackOffsets_);
  reading->onset = onset;
  reading->from = start;
  reading->to = end;
  reading->ready = position_;
  return reading->Heard() > 0 && (analyzer_.Struck() || again_);
}

// Reads the pending strum from its lead up to `end`.
void StrumTracker::Read(int64_t end, std::vector<StrumReading> *readings) {
  const int64_t onset = *pending_;
  pending_.reset();
  end = std::min(end, position_);
  int64_t start = std::max(onset + kLead, std::min(lastAttack_ + kSettle, end - readable_));
  if (end - start < kShortest) start = std::max(onset + kSettle, end - kShortest);
  StrumReading reading;
  if (ReadStretch(onset, start, end, &reading)) readings->push_back(reading);
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
