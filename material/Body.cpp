#include "Body.h"

#include <cmath>
#include <numbers>

#include "Random.h"
#include "base/SoundFormat.h"

namespace material {

namespace {

constexpr double kRate = drovane::kSampleRate;
constexpr double kPull = 4e-5;   // relative shift of a mode one bandwidth from a resonance
constexpr double kLoss = 0.6;    // per second at a resonance, times its gain

Body::Resonance Varied(Random &r, double hertz, double q, double gain) {
  return {hertz * r.Uniform(0.9, 1.1), q * r.Uniform(0.8, 1.25), gain * r.Uniform(0.7, 1.3)};
}

}  // namespace

Body Body::Guitar(uint64_t seed) {
  Random r(seed ^ 0xB0D1);
  Body b;
  b.resonances_ = {Varied(r, 102, 14, 2.0), Varied(r, 210, 18, 2.5), Varied(r, 395, 22, 1.2), Varied(r, 560, 28, 1.0),
                   Varied(r, 1000, 10, 0.6)};
  return b;
}

Body Body::Bass(uint64_t seed) {
  Random r(seed ^ 0xBA55);
  Body b;
  b.resonances_ = {Varied(r, 62, 12, 1.5), Varied(r, 128, 16, 1.8), Varied(r, 290, 20, 1.0), Varied(r, 700, 12, 0.5)};
  return b;
}

double Body::Pull(double hertz) const {
  double shift = 0;
  for (const Resonance &m : resonances_) {
    const double width = m.hertz / m.q, d = (m.hertz - hertz) / width;
    shift += kPull * m.gain * d / (1 + d * d);
  }
  return shift;
}

double Body::ExtraLoss(double hertz) const {
  double loss = 0;
  for (const Resonance &m : resonances_) {
    const double width = m.hertz / m.q, d = (m.hertz - hertz) / width;
    loss += kLoss * m.gain / (1 + d * d);
  }
  return loss;
}

// Each band-pass is the constant-peak biquad (Bristow-Johnson's cookbook).
std::vector<double> Body::Radiate(const std::vector<double> &x) const {
  std::vector<double> y = x;
  for (const Resonance &m : resonances_) {
    const double w = 2 * std::numbers::pi * m.hertz / kRate, alpha = std::sin(w) / (2 * m.q), a0 = 1 + alpha;
    const double b0 = alpha / a0, b2 = -alpha / a0, a1 = -2 * std::cos(w) / a0, a2 = (1 - alpha) / a0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (size_t i = 0; i < x.size(); ++i) {
      const double v = b0 * x[i] + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1, x1 = x[i], y2 = y1, y1 = v;
      y[i] += m.gain * v;
    }
  }
  return y;
}

}  // namespace material
