#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "strum/PairFit.h"
#include "strum/StrumSpectrum.h"

namespace {

constexpr double kRate = 22050;

// The pair fit as a search that computes every trial's shapes exactly: a
// plain least squares of the bins by the known partial, its slope and the
// sought sinusoid, trial after trial, the best kept on a strictly smaller
// residual.
struct Reference {
  const Strum::StrumSpectrum &spectrum;
  std::vector<double> hertz, known, slope;
  std::vector<std::complex<double>> values;

  // The residual for a sinusoid at f, or with N 2 for the known one alone;
  // x its amplitudes.
  template <int N>
  double Residual(double f, std::complex<double> x[3]) const {
    double m[3][3] = {}, total = 0;
    std::complex<double> r[3] = {};
    for (size_t k = 0; k < values.size(); ++k) {
      const double basis[3] = {known[k], slope[k], N > 2 ? spectrum.Shape(hertz[k] - f) : 0};
      total += std::norm(values[k]);
      for (int i = 0; i < N; ++i) {
        r[i] += basis[i] * values[k];
        for (int j = 0; j < N; ++j) m[i][j] += basis[i] * basis[j];
      }
    }
    std::complex<double> rhs[3] = {r[0], r[1], r[2]};
    for (int i = 0; i < N; ++i) {
      if (m[i][i] <= 1e-12) return INFINITY;
      for (int j = i + 1; j < N; ++j) {
        const double g = m[j][i] / m[i][i];
        for (int k = i; k < N; ++k) m[j][k] -= g * m[i][k];
        rhs[j] -= g * rhs[i];
      }
    }
    for (int i = N - 1; i >= 0; --i) {
      x[i] = rhs[i];
      for (int k = i + 1; k < N; ++k) x[i] -= m[i][k] * x[k];
      x[i] /= m[i][i];
    }
    double explained = 0;
    for (int i = 0; i < N; ++i) explained += std::real(std::conj(x[i]) * r[i]);
    return total - explained;
  }
};

bool FitExhaustively(const Strum::StrumSpectrum &spectrum, double known, double guess, double reach,
                     Strum::PairFit *fit) {
  const double resolution = spectrum.Resolution();
  if (std::abs(guess - known) < Strum::kClosest * resolution) return false;
  const double low = std::min(known, guess - reach) - 2 * resolution, high = std::max(known, guess + reach) + 2 * resolution;
  const int from = std::max(1, static_cast<int>(low / spectrum.BinHertz()));
  const int to = std::min(spectrum.Bins() - 1, static_cast<int>(high / spectrum.BinHertz()) + 1);
  Reference ref{spectrum, {}, {}, {}, {}};
  const double h = 0.01 * spectrum.BinHertz();
  double total = 0;
  for (int k = from; k <= to; ++k) {
    const double nu = k * spectrum.BinHertz();
    ref.hertz.push_back(nu);
    ref.known.push_back(spectrum.Shape(nu - known));
    ref.slope.push_back((spectrum.Shape(nu - known + h) - spectrum.Shape(nu - known - h)) / (2 * h) * resolution);
    ref.values.push_back(spectrum.Centered(k));
    total += std::norm(ref.values.back());
  }
  std::complex<double> x[3], bestX[3];
  const double alone = ref.Residual<2>(0, x);
  double best = guess, bestError = INFINITY, step = 2 * reach / 24;
  auto attempt = [&](double f) {
    const double error = ref.Residual<3>(f, x);
    if (error < bestError) bestError = error, best = f, std::copy(x, x + 3, bestX);
  };
  for (int i = 0; i <= 24; ++i) {
    const double f = guess - reach + i * step;
    if (std::abs(f - known) >= 0.5 * resolution) attempt(f);
  }
  for (step *= 0.5; step > 1e-4; step *= 0.5) {
    const double centre = best;
    attempt(centre - step);
    attempt(centre + step);
  }
  if (!std::isfinite(bestError) || std::abs(best - guess) > reach - step * 4) return false;
  *fit = {best, std::abs(bestX[2]), std::abs(bestX[0]), (alone - bestError) / total};
  return true;
}

// Pairs of decaying partials in noise, near and far, loud and faint, some
// sought where there is nothing: the fit screened on quick shapes gives to
// the last bit what the exhaustive search gives, refusals included.
TEST(PairFit, ScreenedSearchFindsWhatTheExhaustiveOneDoes) {
  std::mt19937 random(24);
  std::uniform_real_distribution<double> unit(0, 1);
  Strum::StrumSpectrum spectrum;
  int fitted = 0, refused = 0;
  for (int trial = 0; trial < 40; ++trial) {
    const int count = trial % 2 ? 13450 : 5512 + trial * 97;
    const double resolution = kRate / count;
    const double known = 110 + 1500 * unit(random), apart = (0.6 + 1.6 * unit(random)) * resolution;
    const double sought = known + (trial % 3 ? apart : -apart), ratio = trial % 5 == 0 ? 0 : 0.05 + unit(random);
    std::normal_distribution<double> noise(0, 3);
    std::vector<int16_t> samples(count);
    for (int t = 0; t < count; ++t) {
      const double s = t / kRate;
      const double v = 9000 * std::exp(-1.2 * s) * std::cos(2 * std::numbers::pi * known * s + 0.3) +
                       9000 * ratio * std::exp(-0.4 * s) * std::cos(2 * std::numbers::pi * sought * s + 2.1) +
                       noise(random);
      samples[t] = static_cast<int16_t>(std::lround(v));
    }
    spectrum.Compute(samples.data(), count);
    const double guess = sought + (unit(random) - 0.5) * 0.4 * resolution, reach = 0.3 * resolution + 0.0005 * sought;
    Strum::PairFit screened, exhaustive;
    const bool found = Strum::FitBeside(spectrum, known, guess, reach, &screened);
    ASSERT_EQ(found, FitExhaustively(spectrum, known, guess, reach, &exhaustive)) << trial;
    if (!found) {
      ++refused;
      continue;
    }
    ++fitted;
    EXPECT_EQ(screened.hertz, exhaustive.hertz) << trial;
    EXPECT_EQ(screened.amplitude, exhaustive.amplitude) << trial;
    EXPECT_EQ(screened.knownAmplitude, exhaustive.knownAmplitude) << trial;
    EXPECT_EQ(screened.explained, exhaustive.explained) << trial;
  }
  EXPECT_GT(fitted, 10);
  EXPECT_GT(refused, 2);
}

}  // namespace
