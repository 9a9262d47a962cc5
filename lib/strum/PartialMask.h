#pragma once

#include <vector>

#include "measure/HarmonicString.h"

namespace Strum {

using Measure::HarmonicString;

// The partials of other strings: a partial of one string that lies within
// `width` hertz of another's cannot be read apart from it in the spectrum.
class PartialMask {
 public:
  void Clear() { strings_.clear(); }
  void Add(const HarmonicString &string) { strings_.push_back(string); }
  const std::vector<HarmonicString> &Strings() const { return strings_; }

  // True when some masked string has a partial within hertz ± width.
  bool Covers(double hertz, double width) const;

  // The masked strings with a partial within hertz ± width: the string (its
  // index among those added), the partial's number and frequency.
  struct Hit {
    int string = 0;
    int n = 0;
    double hertz = 0;
  };
  std::vector<Hit> HitsNear(double hertz, double width) const;

 private:
  std::vector<HarmonicString> strings_;
};

}  // namespace Strum
