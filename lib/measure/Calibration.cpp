#include "Calibration.h"

#include <cmath>

double CalibratedReference(double pitch, double reference) {
  return CalibratedReference(pitch, reference, std::floor(pitch + 0.5));
}

double CalibratedReference(double pitch, double reference, double target) {
  return reference * std::pow(2.0, (pitch - target) / 12);
}
