#pragma once

#include "general/CRefCounter.h"

// Run-time settings of a measurer.
class IMeasurerConfig : public virtual CRefCounter {
 public:
  // Hertz of the note A that is MIDI note 69 (440 by default); applies from
  // the next note value on.
  virtual void SetReferenceFrequency(double hertz) = 0;
  virtual double GetReferenceFrequency() = 0;
};
