#include "PairFit.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace Strum {

namespace {

constexpr int kTrials = 24;       // trial frequencies across guess ± reach
constexpr double kMainLobe = 2.0;  // resolutions either side of a partial its window reaches

struct Residual {
  double error = INFINITY;
  double alone = 0;  // the error with the known sinusoid alone
  double total = 0;
  std::complex<double> sought, beside;
};

// The bins around the pair, and the known sinusoid's shape on them.
struct Bins {
  std::vector<double> hertz, known;
  std::vector<std::complex<double>> values;
};

// Least squares of the bins by a·Shape(ν − known) + b·Shape(ν − f).
Residual Solve(const StrumSpectrum &spectrum, const Bins &bins, double f) {
  double g11 = 0, g12 = 0, g22 = 0, total = 0;
  std::complex<double> r1, r2;
  for (size_t k = 0; k < bins.values.size(); ++k) {
    const double a = bins.known[k], b = spectrum.Shape(bins.hertz[k] - f);
    const std::complex<double> y = bins.values[k];
    g11 += a * a, g12 += a * b, g22 += b * b, total += std::norm(y);
    r1 += a * y, r2 += b * y;
  }
  const double det = g11 * g22 - g12 * g12;
  Residual r;
  if (det <= 1e-9 * g11 * g22) return r;
  r.beside = (g22 * r1 - g12 * r2) / det;
  r.sought = (g11 * r2 - g12 * r1) / det;
  r.error = total - std::real(std::conj(r.beside) * r1 + std::conj(r.sought) * r2);
  r.alone = total - std::norm(r1) / g11;
  r.total = total;
  return r;
}

}  // namespace

bool FitBeside(const StrumSpectrum &spectrum, double known, double guess, double reach, PairFit *fit) {
  const double resolution = spectrum.Resolution();
  if (std::abs(guess - known) < kClosest * resolution) return false;
  const double low = std::min(known, guess - reach) - kMainLobe * resolution;
  const double high = std::max(known, guess + reach) + kMainLobe * resolution;
  const int from = std::max(1, static_cast<int>(low / spectrum.BinHertz()));
  const int to = std::min(spectrum.Bins() - 1, static_cast<int>(high / spectrum.BinHertz()) + 1);
  Bins bins;
  for (int k = from; k <= to; ++k) {
    bins.hertz.push_back(k * spectrum.BinHertz());
    bins.known.push_back(spectrum.Shape(bins.hertz.back() - known));
    bins.values.push_back(spectrum.Centered(k));
  }
  double best = guess, step = 2 * reach / kTrials;
  Residual bestResidual;
  for (int i = 0; i <= kTrials; ++i) {
    const double f = guess - reach + i * step;
    if (std::abs(f - known) < 0.5 * resolution) continue;
    const Residual r = Solve(spectrum, bins, f);
    if (r.error < bestResidual.error) bestResidual = r, best = f;
  }
  // Halve the step about the best trial until it is far below a cent.
  for (step *= 0.5; step > 1e-4; step *= 0.5) {
    for (double f : {best - step, best + step}) {
      const Residual r = Solve(spectrum, bins, f);
      if (r.error < bestResidual.error) bestResidual = r, best = f;
    }
  }
  if (!std::isfinite(bestResidual.error) || std::abs(best - guess) > reach - step * 4) return false;
  *fit = {best, std::abs(bestResidual.sought), std::abs(bestResidual.beside),
          (bestResidual.alone - bestResidual.error) / bestResidual.total};
  return true;
}

}  // namespace Strum
