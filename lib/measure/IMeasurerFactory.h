#pragma once

#include "IMeasurerConfig.h"
#include "filters/IFilter.h"
#include "general/RCPtr.h"

// Creates measurers. Both out-arguments (either may be null) designate the
// same new, initialised and stopped measurer.
class IMeasurerFactory : public virtual CRefCounter {
 public:
  virtual void CreateMeasurer(RCPtr<IFilter> *filter, RCPtr<IMeasurerConfig> *config) = 0;
};
