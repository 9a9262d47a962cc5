#pragma once

#include <span>

#include "GuitarConfigurator.h"
#include "IMeasurerFactory.h"

namespace Measure3 {

// Creates the tuner's measurers over one shared configuration: the phone's
// MeasurerGuitar3, or MeasurerPrecise when the refinement is precise or a
// string lies below C2 (a bass, a seven-string, a baritone), whose notes it
// reads down to A0. The ten six-string tunings keep the phone's readings.
class GuitarFactory : public IMeasurerFactory {
 public:
  // Creates the configurator (handed out through `configurator` when not
  // null) and keeps its configuration.
  explicit GuitarFactory(RCPtr<Measure::GuitarConfigurator> *configurator = nullptr);

  static constexpr int kLowestPhoneString = 36;  // C2: every six-string tuning stays the phone's

  // A new measurer, initialised and stopped.
  void CreateMeasurer(RCPtr<IFilter> *filter, RCPtr<IMeasurerConfig> *config) override;

  // How measurers created from now on refine periods (the phone's way
  // unless set): writes the shared configuration.
  void SetRefinement(Measure::Refinement refinement) { config_->refinement = refinement; }
  // The instrument's open strings (MIDI notes, any order); the guitar's
  // standard tuning unless set.
  void SetStrings(std::span<const int> notes);
  // MeasurerGuitar3 whatever the refinement and strings: the yardstick the
  // finer measurer is compared with.
  void KeepGuitarMeasurer() { keepGuitar_ = true; }
  // Whether CreateMeasurer makes a MeasurerPrecise.
  bool ReadsFinely() const;

 private:
  RCPtr<Measure::GuitarConfigurator::Config> config_;
  bool keepGuitar_ = false;
};

}  // namespace Measure3
