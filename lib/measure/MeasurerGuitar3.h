#pragma once

#include <cstdint>

#include "GuitarConfigurator.h"
#include "GuitarSmoother.h"
#include "IMeasurerConfig.h"
#include "MainTone3.h"
#include "MeasurerBase.h"

namespace Measure3 {

// The tuner's measurer: MainTone3 over blocks of 1000 samples, its notes
// smoothed by a GuitarSmoother into one result per block once 15 notes are
// in. The reference frequency and the estimator's refinement are set from
// the configuration at initialisation and survive Start; change the
// reference through IMeasurerConfig.
// Single-threaded; created stopped by GuitarFactory.
class MeasurerGuitar3 : public Measure::MeasurerBase, public IMeasurerConfig {
 public:
  explicit MeasurerGuitar3(const RCPtr<const Measure::GuitarConfigurator::Config> &config);

  // Resets the estimator (keeping the reference), keeps window and history.
  HRESULT Start() override;
  HRESULT Initialize() override;
  uint32_t GetBlockBytes() override { return 2000; }
  HRESULT ProcessBlock(const int16_t *block) override;
  uint32_t GetResultCount() override { return static_cast<uint32_t>(smoother_.Results().size()); }
  // Every record gets the level after the block; the results are then gone.
  void GetResults(Measure::Result *records) override;

  void SetReferenceFrequency(double hertz) override { estimator_.referenceFrequency = hertz; }
  double GetReferenceFrequency() override { return estimator_.referenceFrequency; }

  const GuitarSmoother &Smoother() const { return smoother_; }
  const MainTone3 &Estimator() const { return estimator_; }
  int16_t CurrentLevel() const { return level_; }

 private:
  RCPtr<const Measure::GuitarConfigurator::Config> configuration_;
  MainTone3 estimator_;
  GuitarSmoother smoother_;
  int16_t level_ = 0;
};

}  // namespace Measure3
