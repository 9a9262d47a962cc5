#pragma once

#include <cstdint>
#include <vector>

#include "Refinement.h"
#include "base/StandardTuning.h"
#include "general/RCPtr.h"

namespace Measure {

// Creates the guitar's measuring configuration.
class GuitarConfigurator : public virtual CRefCounter {
 public:
  // Configuration data; the measurer reads `reference` and `refinement`
  // when it is initialised.
  struct Config : public virtual CRefCounter {
    std::vector<int16_t> strings{drovane::kStandardTuning.begin(), drovane::kStandardTuning.end()};  // lowest first
    double factor = 1.0;
    int32_t reference = 440;  // hertz of MIDI note 69
    Refinement refinement = Refinement::kPhone;
  };

  GuitarConfigurator() : config_(new Config) {}

  const RCPtr<Config> &GetConfig() const { return config_; }

 private:
  RCPtr<Config> config_;
};

}  // namespace Measure
