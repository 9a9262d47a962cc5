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
  std::complex<double> sought, beside;
};

// The bins around the pair, and the known partial's shape and its slope
// (the slope takes up its decay and a small error in its frequency). The
// sums of the known partial's two columns are the same for every trial
// frequency, so they are added up once, in the order each trial did.
struct Bins {
  std::vector<double> hertz, known, slope;
  std::vector<std::complex<double>> values;
  double gram[2][2] = {};
  std::complex<double> projection[2];
  double total = 0;
  void AddUp();
};

void Bins::AddUp() {
  for (size_t k = 0; k < values.size(); ++k) {
    const double basis[2] = {known[k], slope[k]};
    const std::complex<double> y = values[k];
    total += std::norm(y);
    for (int i = 0; i < 2; ++i) {
      projection[i] += basis[i] * y;
      for (int j = 0; j < 2; ++j) gram[i][j] += basis[i] * basis[j];
    }
  }
}

// Solves the real symmetric system m·x = r for complex r (Gaussian
// elimination without pivoting: m is a Gram matrix). False when singular.
template <int N>
bool SolveGram(double m[N][N], std::complex<double> r[N], std::complex<double> x[N]) {
  for (int i = 0; i < N; ++i) {
    if (m[i][i] <= 1e-12) return false;
    for (int j = i + 1; j < N; ++j) {
      const double f = m[j][i] / m[i][i];
      for (int k = i; k < N; ++k) m[j][k] -= f * m[i][k];
      r[j] -= f * r[i];
    }
  }
  for (int i = N - 1; i >= 0; --i) {
    x[i] = r[i];
    for (int k = i + 1; k < N; ++k) x[i] -= m[i][k] * x[k];
    x[i] /= m[i][i];
  }
  return true;
}

// Least squares of the bins by the known partial (shape and slope) and a
// sinusoid at f; or, with N 2, by the known partial alone.
template <int N>
double Fit(const StrumSpectrum &spectrum, const Bins &bins, double f, std::complex<double> x[N]) {
  double m[N][N] = {};
  std::complex<double> r[N] = {}, rhs[N];
  for (int i = 0; i < 2; ++i) {
    r[i] = bins.projection[i];
    for (int j = 0; j < 2; ++j) m[i][j] = bins.gram[i][j];
  }
  if constexpr (N > 2) {
    for (size_t k = 0; k < bins.values.size(); ++k) {
      const double shape = spectrum.Shape(bins.hertz[k] - f);
      r[2] += shape * bins.values[k];
      m[0][2] += bins.known[k] * shape;
      m[1][2] += bins.slope[k] * shape;
      m[2][2] += shape * shape;
    }
    m[2][0] = m[0][2];
    m[2][1] = m[1][2];
  }
  std::copy(r, r + N, rhs);
  if (!SolveGram<N>(m, rhs, x)) return INFINITY;
  double explained = 0;
  for (int i = 0; i < N; ++i) explained += std::real(std::conj(x[i]) * r[i]);
  return bins.total - explained;
}

Residual Solve(const StrumSpectrum &spectrum, const Bins &bins, double f) {
  std::complex<double> x[3];
  Residual result;
  result.error = Fit<3>(spectrum, bins, f, x);
  result.beside = x[0];
  result.sought = x[2];
  return result;
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
  const double h = 0.01 * spectrum.BinHertz();
  double total = 0;
  for (int k = from; k <= to; ++k) {
    const double nu = k * spectrum.BinHertz();
    bins.hertz.push_back(nu);
    bins.known.push_back(spectrum.Shape(nu - known));
    bins.slope.push_back((spectrum.Shape(nu - known + h) - spectrum.Shape(nu - known - h)) / (2 * h) * resolution);
    bins.values.push_back(spectrum.Centered(k));
    total += std::norm(bins.values.back());
  }
  bins.AddUp();
  std::complex<double> alone[2];
  const double aloneError = Fit<2>(spectrum, bins, 0, alone);
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
  *fit = {best, std::abs(bestResidual.sought), std::abs(bestResidual.beside), (aloneError - bestResidual.error) / total};
  return true;
}

}  // namespace Strum
