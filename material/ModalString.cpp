#include "ModalString.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "Random.h"
#include "base/SoundFormat.h"

namespace material {

namespace {

constexpr double kRate = drovane::kSampleRate;
constexpr double kHighest = 6000;  // hertz of the highest mode rendered
constexpr int kBlock = 32;         // samples between exact phases
constexpr double kFade = 0.005;    // seconds: a string struck again stops
constexpr double kQuiet = 1e-6;    // of the string's level: a mode has died

struct Ranges {
  double bLow, bHigh, lossLow, lossHigh, glideLow, glideHigh;
};

Ranges RangesOf(StringKind kind) {
  if (kind == StringKind::kBass) return {4e-5, 4e-4, 0.4, 1.5, 3, 12};
  return {1.5e-5, 2.5e-4, 0.6, 2.5, 2, 9};
}

// The stiff series with a dispersion term of fourth order in n.
double Series(double f, double b, double c, int n) { return n * f * std::sqrt(1 + b * n * n + c * b * b * n * n * n * n); }

}  // namespace

ModalString::ModalString(const Pluck &pluck, double reference, StringKind kind, const Body &body, uint64_t seed)
    : seed_(seed), muted_(pluck.muted) {
  const double target = reference * std::pow(2.0, (pluck.midi + pluck.cents / 100 - 69) / 12);
  MakeModes(target, kind, body, pluck.velocity, seed);
}

void ModalString::MakeModes(double target, StringKind kind, const Body &body, double velocity, uint64_t seed) {
  Random r(seed);
  const Ranges ranges = RangesOf(kind);
  b_ = r.LogUniform(ranges.bLow, ranges.bHigh);
  const double c = r.Uniform(-0.3, 0.3);
  const double pluckAt = r.Uniform(0.07, 0.25), width = r.Uniform(0.005, 0.02);
  const double loss0 = r.Uniform(ranges.lossLow, ranges.lossHigh), loss2 = r.LogUniform(1.5e-6, 5e-6);
  const double split = r.Uniform(5e-4, 1.5e-3), angle = r.Uniform(0.3, 1.2);
  glide_ = (std::pow(2.0, r.Uniform(ranges.glideLow, ranges.glideHigh) / 1200) - 1) * velocity * velocity;
  glideTime_ = r.Uniform(0.05, 0.2);
  click_ = r.Uniform(0.02, 0.05) * velocity * (muted_ ? 4 : 1);
  clickTime_ = muted_ ? r.Uniform(0.01, 0.025) : r.Uniform(0.002, 0.006);
  // The fundamental's f so that the first mode, pulled by the body, lands
  // on the target.
  double f = target / std::sqrt(1 + b_ + c * b_ * b_);
  for (int i = 0; i < 3; ++i) f *= target / (Series(f, b_, c, 1) * (1 + body.Pull(Series(f, b_, c, 1))));
  const double level = velocity * (muted_ ? 0.5 : 1.0);
  for (int n = 1;; ++n) {
    const double raw = Series(f, b_, c, n);
    if (raw > kHighest || n > 120) break;
    Mode m;
    m.hertz = n == 1 ? target : raw * (1 + body.Pull(raw)) * (1 + r.Uniform(-3e-5, 3e-5));
    // Displacement of a pluck at pluckAt, its width smoothing the high modes.
    const double shape = std::abs(std::sin(std::numbers::pi * n * pluckAt)) / std::pow(n, 1.1);
    const double smooth = 1 / (1 + std::pow(n * width * 8, 2));
    m.amplitude = level * shape * smooth * std::pow(10.0, r.Uniform(-2, 2) / 20);
    m.loss = loss0 + loss2 * m.hertz * m.hertz + body.ExtraLoss(m.hertz);
    if (muted_) m.loss = r.Uniform(25, 60) + 40 * loss2 * m.hertz * m.hertz;
    m.otherLoss = m.loss * r.Uniform(2, 3);
    m.split = split * r.Uniform(0.8, 1.25);
    m.share = std::tan(angle);
    m.phase = r.Uniform(0, 2 * std::numbers::pi);
    m.otherPhase = r.Uniform(0, 2 * std::numbers::pi);
    modes_.push_back(m);
  }
}

void ModalString::Render(std::vector<double> *out, size_t start, size_t end) const {
  const size_t stop = std::min(out->size(), end == SIZE_MAX ? out->size() : end + static_cast<size_t>(kFade * kRate));
  if (start >= stop) return;
  for (const Mode &m : modes_) RenderMode(m, out, start, stop, end);
  RenderClick(out, start, stop);
}

// Each polarisation by a phasor turned a block at a time: the exact phase
// and envelope at every block's start, the glide's frequency within it.
void ModalString::RenderMode(const Mode &m, std::vector<double> *out, size_t start, size_t stop, size_t end) const {
  const double level = m.amplitude;
  for (int pol = 0; pol < 2; ++pol) {
    const double hertz = pol == 0 ? m.hertz : m.hertz * (1 + m.split);
    const double loss = pol == 0 ? m.loss : m.otherLoss, phase0 = pol == 0 ? m.phase : m.otherPhase;
    const double amplitude = level * (pol == 0 ? 1.0 : m.share) / std::sqrt(1 + m.share * m.share);
    for (size_t from = start; from < stop; from += kBlock) {
      const double t = (from - start) / kRate;
      const double envelope = amplitude * std::exp(-loss * t);
      if (envelope < kQuiet && t > 0.05) break;
      const double warped = t + glide_ * glideTime_ * (1 - std::exp(-t / glideTime_));
      const double now = hertz * (1 + glide_ * std::exp(-t / glideTime_));
      std::complex<double> z = std::polar(envelope, 2 * std::numbers::pi * hertz * warped + phase0);
      const std::complex<double> step = std::exp(std::complex<double>(-loss, 2 * std::numbers::pi * now) / kRate);
      for (size_t i = from; i < std::min(stop, from + kBlock); ++i, z *= step) {
        const double u = (i - start) / kRate;
        double gain = u < 0.001 ? u / 0.001 : 1.0;
        if (i >= end) gain *= std::max(0.0, 1 - (i - end) / (kFade * kRate));
        (*out)[i] += gain * z.imag();
      }
    }
  }
}

// The pick's (or the muting finger's) noise: a short burst, low-passed.
void ModalString::RenderClick(std::vector<double> *out, size_t start, size_t stop) const {
  Random r(seed_ ^ 0xC11C);
  const double smooth = std::exp(-2 * std::numbers::pi * (muted_ ? 800.0 : 3000.0) / kRate);
  double low = 0;
  const size_t length = std::min(stop, start + static_cast<size_t>(5 * clickTime_ * kRate));
  for (size_t i = start; i < length; ++i) {
    const double t = (i - start) / kRate;
    low = smooth * low + (1 - smooth) * r.Normal();
    (*out)[i] += click_ * std::exp(-t / clickTime_) * low * 4;
  }
}

}  // namespace material
