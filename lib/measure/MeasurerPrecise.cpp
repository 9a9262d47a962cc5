#include "MeasurerPrecise.h"

#include <algorithm>
#include <array>

#include "AmdfTable.h"
#include "LongRefine.h"
#include "MidiTypes.h"
#include "OctaveCheck.h"
#include "PeriodSearch.h"
#include "base/SoundFormat.h"

namespace Measure3 {
namespace {

// After a change of note heard without an attack, the sound of the one
// before is left out of the refinement.
constexpr int kAfterChange = 2048;

// The level of the last kLevelLength samples; silence stands in front of
// the first hop, which holds fewer.
int16_t LevelOfLast(const std::vector<int16_t> &sound) {
  if (sound.size() >= static_cast<size_t>(Amdf::kLevelLength))
    return Amdf::Level(sound.data() + sound.size() - Amdf::kLevelLength);
  std::array<int16_t, Amdf::kLevelLength> padded{};
  std::copy(sound.begin(), sound.end(), padded.end() - sound.size());
  return Amdf::Level(padded.data());
}

}  // namespace

MeasurerPrecise::MeasurerPrecise(const RCPtr<const Measure::GuitarConfigurator::Config> &config)
    : configuration_(config) {
  sound_.reserve(kKeep + kHop);
}

void MeasurerPrecise::Forget() {
  sound_.clear();
  sinceAttack_ = 0;
  heldPeriod_ = 0;
  attacks_.Reset();
  smoother_ = Measure::PreciseSmoother();
  level_ = 1;
}

HRESULT MeasurerPrecise::Initialize() {
  reference_ = configuration_->reference;
  Forget();
  results_.clear();
  return 0;
}

HRESULT MeasurerPrecise::Start() {
  Forget();
  return MeasurerBase::Start();
}

HRESULT MeasurerPrecise::ProcessBlock(const int16_t *block) {
  sound_.insert(sound_.end(), block, block + kHop);
  if (sound_.size() > static_cast<size_t>(kKeep)) sound_.erase(sound_.begin(), sound_.end() - kKeep);
  sinceAttack_ = std::min(sinceAttack_ + kHop, kKeep);
  if (attacks_.Hop(block)) {
    sinceAttack_ = attacks_.SinceAttack();
    heldPeriod_ = 0;
    smoother_.Restart();
  }
  level_ = LevelOfLast(sound_);
  const int gate = smoother_.Holding() ? kGateWithNote : kGateWithout;
  results_.push_back(smoother_.Step(level_ >= gate ? Estimate() : 0));
  if (smoother_.Began()) sinceAttack_ = std::min(sinceAttack_, kAfterChange);
  return 0;
}

double MeasurerPrecise::Estimate() {
  const int n = std::min(sinceAttack_, static_cast<int>(sound_.size()));
  const int16_t *end = sound_.data() + sound_.size();
  // Half the sound is summed per lag (at most kSearchDiffs), the rest is the
  // lags' reach. The period must fit twice within the reach for its octave
  // to be checked, unless twice the period lies below the lowest note.
  const int diffs = std::min(n / 2, kSearchDiffs);
  const int reach = std::min(Amdf::kSearchMaxLag, n - diffs);
  if (reach < 2 * Amdf::kSearchMinLag + 2) return 0;
  lags_.Compute(end - diffs - reach, diffs, reach, &differences_);
  Amdf::NormalisedDifference(differences_, &curve_);
  int period = Amdf::FirstDip(curve_);
  const bool checkable = 2 * period + 2 <= reach || (reach == Amdf::kSearchMaxLag && period + 2 <= reach);
  if (period == 0 || !checkable || !Amdf::ClearOfShorter(curve_, period)) return 0;
  period = Amdf::ShortestAsDeep(curve_, Amdf::CheckOctave(curve_, KeepTheNote(period, reach)));
  heldPeriod_ = period;
  if (n < 3 * period + 6) return 0;
  double hertz = drovane::kSampleRate / Amdf::RefineLong(end - n, n, period);
  double first = 0;
  if (n >= 4 * period && partials_.Refine(end - n, n, hertz, &first)) hertz = first;
  return NoteFromFrequency(hertz, reference_);
}

// While a note is read, its period wins over another dip as long as it
// still dips: a decaying string's upper partials may come to repeat at a
// half or a third of its period, and a note changes at an attack.
int MeasurerPrecise::KeepTheNote(int period, int reach) const {
  if (!smoother_.Holding() || heldPeriod_ == 0 || heldPeriod_ + 3 > reach) return period;
  const int near = Amdf::LowestNear(curve_, heldPeriod_, std::max(2, heldPeriod_ / 30));
  if (near == period || near + 2 > reach) return period;
  return Amdf::DipBottom(curve_, near) < Amdf::kShallowDip ? near : period;
}

void MeasurerPrecise::GetResults(Measure::Result *records) {
  for (size_t i = 0; i < results_.size(); ++i) {
    records[i].level = level_;
    records[i].note = results_[i];
  }
  results_.clear();
}

}  // namespace Measure3
