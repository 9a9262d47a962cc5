#include "Calibration.h"

#include <cmath>

double CalibratedReference(double pitch, double reference) {
  const double d = pitch - std::floor(pitch + 0.5);
  return reference * std::pow(2.0, d / 12);
}
