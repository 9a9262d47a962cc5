#include "MainTone3.h"

#include <cmath>

#include "AmdfRefine.h"
#include "MidiTypes.h"
#include "base/SoundFormat.h"
#include "PeriodChoice.h"
#include "PreciseRefine.h"

namespace {

constexpr double kJump = 2.0;  // semitones that count as a change of note
// Level ratios of a second look. An earlier level this many times the later
// window's: the signal is dying away, and a confirmed new pitch is no note.
constexpr double kFadeRatio = 1.4;
// The later window this many times as loud as a window without pitch: a
// fresh attack.
constexpr double kAttackRatio = 2.5;

double Round(double x) { return std::floor(x + 0.5); }

}  // namespace

MainTone3::MainTone3() { buffer_.reserve(4 * kHop); }

void MainTone3::Reset() {
  buffer_.clear();
  hopCounter_ = 0;
  heldWholePeriod_ = 0;
  heldPeriod_ = 0;
  for (int32_t &d : table_) d = 0;
  level_ = 1;
  earlierLevel_ = 1;
  referenceFrequency = 440.0;
}

double MainTone3::NoteOfPeriod(double period) const {
  return period != 0 ? NoteFromFrequency(drovane::kSampleRate / period, referenceFrequency) : 0;
}

static_assert(Amdf::kPreciseWindow <= 3 * MainTone3::kHop, "the window a period is refined on");

double MainTone3::Refine(const int16_t *x, int period) const {
  return refinement_ == Measure::Refinement::kPrecise ? Amdf::RefinePrecise(x, period) : Amdf::Refine(x, period);
}

void MainTone3::Process(const int16_t *samples, std::vector<double> *notes, int16_t *level) {
  buffer_.insert(buffer_.end(), samples, samples + kHop);
  while (buffer_.size() > 2 * static_cast<size_t>(kHop)) {
    const int16_t *window = buffer_.data();
    if (hopCounter_ == 0)
      FullAnalysis(window);
    else if (heldPeriod_ != 0)
      heldPeriod_ = Refine(window, static_cast<int>(Round(heldPeriod_)));
    const uint32_t interval = heldPeriod_ != 0 ? kIntervalPitched : kIntervalUnpitched;
    if (++hopCounter_ >= interval) hopCounter_ = 0;
    notes->push_back(NoteOfPeriod(heldPeriod_));
    buffer_.erase(buffer_.begin(), buffer_.begin() + kHop);
  }
  *level = level_;
}

// Level gate, coarse table (weighted around the previous note when there is
// one) and period choice for one window; 0 when the gate or the choice fails.
int MainTone3::LookFor(const int16_t *x, int16_t level, bool hadPrevious, double previousNote) {
  if (level < (hadPrevious ? kGateWithPrevious : kGateWithout)) return 0;
  Amdf::CoarseTable(x, table_);
  if (hadPrevious) Amdf::WeightAround(table_, previousNote, referenceFrequency);
  return Amdf::PickPeriod(table_, hadPrevious);
}

void MainTone3::FullAnalysis(const int16_t *x) {
  const double prev = NoteOfPeriod(heldPeriod_);
  const bool had = heldWholePeriod_ != 0;
  const int16_t level1 = Amdf::Level(x);
  const int period1 = LookFor(x, level1, had, prev);
  const double fresh = NoteOfPeriod(period1);
  const double result = std::fabs(prev - fresh) <= kJump ? period1 : SecondLook(x, prev, fresh, period1, level1);
  heldWholePeriod_ = result;
  earlierLevel_ = level_;
  level_ = level1;
  heldPeriod_ = result != 0 ? Refine(x, static_cast<int>(result)) : 0;
}

// A jump, an onset or an ending: the window 1000 samples later decides
// whether it was a glitch, a new note, a fresh attack or nothing.
double MainTone3::SecondLook(const int16_t *x, double prev, double fresh, int period1, int16_t level1) {
  const bool both = prev != 0 && fresh != 0 && heldWholePeriod_ != 0;
  const int16_t level2 = Amdf::Level(x + kHop);
  const int period2 = LookFor(x + kHop, level2, both, prev);
  const double later = NoteOfPeriod(period2);
  if (std::fabs(later - prev) < kJump) return Round(heldPeriod_);
  if (std::fabs(later - fresh) < kJump) {
    const bool dying = prev != 0 && static_cast<double>(earlierLevel_) / level2 >= kFadeRatio;
    return dying ? 0 : period1;
  }
  if (prev != 0 && fresh == 0 && later != 0 && static_cast<double>(level2) / level1 >= kAttackRatio) return period2;
  return 0;
}
