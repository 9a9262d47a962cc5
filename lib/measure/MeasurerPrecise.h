#pragma once

#include <cstdint>
#include <vector>

#include "AttackDetector.h"
#include "GuitarConfigurator.h"
#include "IMeasurerConfig.h"
#include "LagDifferences.h"
#include "MeasurerBase.h"
#include "PartialRefine.h"
#include "PreciseSmoother.h"

namespace Measure3 {

// The measurer for fine and low readings (--precise, the strobe, and
// tunings with strings below C2): one reading a hop of 441 samples (20 ms),
// from A0 (27.5 Hz) up. Each hop it looks for the period in the sound since
// the string's last attack (AttackDetector), as soon as that sound holds
// the period twice over and room to check its octave (PeriodSearch,
// OctaveCheck), refines it over up to kKeep samples (LongRefine) and, once
// four periods are in, reads the first partial from the partials
// (PartialRefine), and smooths the notes (PreciseSmoother). So a guitar's string reads within
// a tenth of a second of its pluck and a bass's B0 within a fifth.
// Single-threaded; created stopped by GuitarFactory.
class MeasurerPrecise : public Measure::MeasurerBase, public IMeasurerConfig {
 public:
  static constexpr int kHop = Measure::AttackDetector::kHop;
  static constexpr int kKeep = 4410;        // samples a period is refined over, at most (0.2 s)
  static constexpr int kSearchDiffs = 1024;  // differences per lag in the search, at most
  // The level gates of the phone's estimator: to begin a note, to go on.
  static constexpr int kGateWithout = 400;
  static constexpr int kGateWithNote = 150;

  explicit MeasurerPrecise(const RCPtr<const Measure::GuitarConfigurator::Config> &config);

  // Forgets the sound and the note, keeps the reference.
  HRESULT Start() override;
  HRESULT Initialize() override;
  uint32_t GetBlockBytes() override { return 2 * kHop; }
  HRESULT ProcessBlock(const int16_t *block) override;
  uint32_t GetResultCount() override { return static_cast<uint32_t>(results_.size()); }
  void GetResults(Measure::Result *records) override;

  void SetReferenceFrequency(double hertz) override { reference_ = hertz; }
  double GetReferenceFrequency() override { return reference_; }

 private:
  void Forget();
  // The note of the sound since the attack, 0 when it holds none (yet).
  double Estimate();
  int KeepTheNote(int period, int reach) const;

  RCPtr<const Measure::GuitarConfigurator::Config> configuration_;
  double reference_ = 440;
  std::vector<int16_t> sound_;  // the last kKeep samples at most
  int sinceAttack_ = 0;         // samples heard since the last attack (or the start)
  int heldPeriod_ = 0;          // whole lag of the note read since then, 0 before one
  Measure::AttackDetector attacks_;
  Measure::PreciseSmoother smoother_;
  Measure::PartialRefine partials_;
  Amdf::LagDifferences lags_;
  std::vector<int64_t> differences_;
  std::vector<double> curve_;
  std::vector<double> results_;
  int16_t level_ = 1;
};

}  // namespace Measure3
