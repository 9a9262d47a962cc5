#include "MeasurerGuitar3.h"

namespace Measure3 {

MeasurerGuitar3::MeasurerGuitar3(const RCPtr<const Measure::GuitarConfigurator::Config> &config)
    : configuration_(config) {}

HRESULT MeasurerGuitar3::Initialize() {
  estimator_.Reset();
  estimator_.referenceFrequency = configuration_->reference;
  estimator_.SetRefinement(configuration_->refinement);
  smoother_.Window().clear();
  level_ = 0;
  return 0;
}

HRESULT MeasurerGuitar3::Start() {
  const double reference = estimator_.referenceFrequency;
  estimator_.Reset();
  estimator_.referenceFrequency = reference;
  return MeasurerBase::Start();
}

HRESULT MeasurerGuitar3::ProcessBlock(const int16_t *block) {
  const size_t before = smoother_.Window().size();
  estimator_.Process(block, &smoother_.Window(), &level_);
  if (smoother_.Window().size() != before) smoother_.Drain();
  return 0;
}

void MeasurerGuitar3::GetResults(Measure::Result *records) {
  std::vector<double> &results = smoother_.Results();
  for (size_t i = 0; i < results.size(); ++i) {
    records[i].level = level_;
    records[i].note = results[i];
  }
  results.clear();
}

}  // namespace Measure3
