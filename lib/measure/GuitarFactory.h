#pragma once

#include "GuitarConfigurator.h"
#include "IMeasurerFactory.h"

namespace Measure3 {

// Creates guitar measurers over one shared configuration.
class GuitarFactory : public IMeasurerFactory {
 public:
  // Creates the configurator (handed out through `configurator` when not
  // null) and keeps its configuration.
  explicit GuitarFactory(RCPtr<Measure::GuitarConfigurator> *configurator = nullptr);

  // A new MeasurerGuitar3, initialised and stopped.
  void CreateMeasurer(RCPtr<IFilter> *filter, RCPtr<IMeasurerConfig> *config) override;

  // How measurers created from now on refine periods (the phone's way
  // unless set): writes the shared configuration.
  void SetRefinement(Measure::Refinement refinement) { config_->refinement = refinement; }

 private:
  RCPtr<Measure::GuitarConfigurator::Config> config_;
};

}  // namespace Measure3
