#include "ButterworthLowPass.h"

#include <algorithm>
#include <cmath>

ButterworthLowPass::ButterworthLowPass(double cornerHertz, double samplesPerSecond) {
  constexpr double kPi = 3.14159265358979323846;
  const double w = 2 * kPi * cornerHertz / samplesPerSecond, c = std::cos(w), s = std::sin(w);
  const int order = 2 * static_cast<int>(sections_.size());
  for (size_t k = 0; k < sections_.size(); ++k) {
    // The poles' quality factors for the order.
    const double q = 1 / (2 * std::cos(kPi * (2 * k + 1) / (2.0 * order)));
    const double alpha = s / (2 * q), a0 = 1 + alpha;
    Section &x = sections_[k];
    x.b0 = (1 - c) / 2 / a0;
    x.b1 = (1 - c) / a0;
    x.b2 = x.b0;
    x.a1 = -2 * c / a0;
    x.a2 = (1 - alpha) / a0;
  }
}

double ButterworthLowPass::Section::Step(double x) {
  const double y = b0 * x + z1;
  z1 = b1 * x - a1 * y + z2;
  z2 = b2 * x - a2 * y;
  return y;
}

void ButterworthLowPass::Process(const int16_t *in, int16_t *out, int count) {
  for (int i = 0; i < count; ++i) {
    double v = in[i];
    for (Section &s : sections_) v = s.Step(v);
    out[i] = static_cast<int16_t>(std::clamp(std::lround(v), -32768l, 32767l));
  }
}
