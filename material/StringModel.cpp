#include "StringModel.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "base/SoundFormat.h"

namespace material {

namespace {

constexpr double kRate = drovane::kSampleRate;
constexpr double kCoupling = 0.02;      // a string's response at a mode it shares, of the driving partial
constexpr double kMutedCoupling = 0.002;
constexpr double kHighestCoupled = 2000;  // hertz

size_t Sample(double seconds) { return static_cast<size_t>(std::llround(seconds * kRate)); }

}  // namespace

StringModel::StringModel(StringKind kind, uint64_t seed)
    : kind_(kind), seed_(seed), body_(kind == StringKind::kBass ? Body::Bass(seed) : Body::Guitar(seed)) {}

Rendered StringModel::Render(const Score &score) const {
  const size_t length = Sample(score.seconds);
  Rendered out;
  std::vector<std::vector<double>> dry(score.strings, std::vector<double>(length));
  std::vector<ModalString> strings;
  std::vector<size_t> starts, ends;
  for (size_t i = 0; i < score.plucks.size(); ++i) {
    const Pluck &p = score.plucks[i];
    strings.emplace_back(p, score.reference, kind_, body_, seed_ * 1000003 + i);
    out.hertz.push_back(strings.back().FirstPartial());
    starts.push_back(Sample(p.time));
    size_t end = SIZE_MAX;
    for (size_t j = i + 1; j < score.plucks.size(); ++j)
      if (score.plucks[j].string == p.string) {
        end = Sample(score.plucks[j].time);
        break;
      }
    ends.push_back(end);
    strings.back().Render(&dry[p.string], starts.back(), end);
  }
  std::vector<double> coupled(length);
  for (const auto &d : dry)
    for (size_t i = 0; i < length; ++i) coupled[i] += d[i];
  Couple(score, strings, starts, ends, dry, &coupled);
  out.mix = body_.Radiate(coupled);
  for (const auto &d : dry) out.alone.push_back(body_.Radiate(d));
  return out;
}

// Each pluck's modes below 2 kHz as resonators driven, while that string
// rings, by what the other strings give the bridge.
void StringModel::Couple(const Score &score, const std::vector<ModalString> &strings, const std::vector<size_t> &starts,
                         const std::vector<size_t> &ends, const std::vector<std::vector<double>> &dry,
                         std::vector<double> *mix) const {
  const size_t length = mix->size();
  std::vector<double> drive(length);
  for (size_t i = 0; i < score.plucks.size(); ++i) {
    const int s = score.plucks[i].string;
    const size_t from = starts[i], to = std::min(length, ends[i]);
    for (size_t t = from; t < to; ++t) {
      drive[t] = 0;
      for (int o = 0; o < score.strings; ++o)
        if (o != s) drive[t] += dry[o][t];
    }
    const double kappa = strings[i].Muted() ? kMutedCoupling : kCoupling;
    for (const ModalString::Mode &m : strings[i].Modes()) {
      if (m.hertz > kHighestCoupled) break;
      const std::complex<double> pole = std::exp(std::complex<double>(-m.loss, 2 * std::numbers::pi * m.hertz) / kRate);
      const double gain = 2 * kappa * (1 - std::abs(pole));
      std::complex<double> y;
      for (size_t t = from; t < to; ++t) {
        y = pole * y + gain * drive[t];
        (*mix)[t] += y.real();
      }
    }
  }
}

}  // namespace material
