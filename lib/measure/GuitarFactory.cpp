#include "GuitarFactory.h"

#include "MeasurerGuitar3.h"

namespace Measure3 {

GuitarFactory::GuitarFactory(RCPtr<Measure::GuitarConfigurator> *configurator) {
  const RCPtr<Measure::GuitarConfigurator> made(new Measure::GuitarConfigurator);
  config_ = made->GetConfig();
  if (configurator) *configurator = made;
}

void GuitarFactory::CreateMeasurer(RCPtr<IFilter> *filter, RCPtr<IMeasurerConfig> *config) {
  const RCPtr<MeasurerGuitar3> measurer(new MeasurerGuitar3(RCPtr<const Measure::GuitarConfigurator::Config>(config_)));
  measurer->Init();
  if (filter) *filter = RCPtr<IFilter>(measurer);
  if (config) *config = RCPtr<IMeasurerConfig>(measurer);
}

}  // namespace Measure3
