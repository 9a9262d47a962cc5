#include "GuitarFactory.h"

#include <algorithm>

#include "MeasurerGuitar3.h"
#include "MeasurerPrecise.h"

namespace Measure3 {

GuitarFactory::GuitarFactory(RCPtr<Measure::GuitarConfigurator> *configurator) {
  const RCPtr<Measure::GuitarConfigurator> made(new Measure::GuitarConfigurator);
  config_ = made->GetConfig();
  if (configurator) *configurator = made;
}

void GuitarFactory::SetStrings(std::span<const int> notes) {
  config_->strings.assign(notes.begin(), notes.end());
}

bool GuitarFactory::ReadsFinely() const {
  if (keepGuitar_) return false;
  const std::vector<int16_t> &strings = config_->strings;
  const bool low = !strings.empty() && *std::min_element(strings.begin(), strings.end()) < kLowestPhoneString;
  return config_->refinement == Measure::Refinement::kPrecise || low;
}

namespace {

template <class Measurer>
void Create(const RCPtr<Measure::GuitarConfigurator::Config> &shared, RCPtr<IFilter> *filter,
            RCPtr<IMeasurerConfig> *config) {
  const RCPtr<Measurer> measurer(new Measurer(RCPtr<const Measure::GuitarConfigurator::Config>(shared)));
  measurer->Init();
  if (filter) *filter = RCPtr<IFilter>(measurer);
  if (config) *config = RCPtr<IMeasurerConfig>(measurer);
}

}  // namespace

void GuitarFactory::CreateMeasurer(RCPtr<IFilter> *filter, RCPtr<IMeasurerConfig> *config) {
  if (ReadsFinely())
    Create<MeasurerPrecise>(config_, filter, config);
  else
    Create<MeasurerGuitar3>(config_, filter, config);
}

}  // namespace Measure3
