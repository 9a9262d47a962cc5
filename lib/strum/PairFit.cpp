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
  int first = 0;  // the first bin's index
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
// elimination without pivoting: m is a Gram matrix). False when a pivot is
// at most `least`.
template <int N>
bool SolveGram(double m[N][N], std::complex<double> r[N], std::complex<double> x[N], double least) {
  for (int i = 0; i < N; ++i) {
    if (m[i][i] <= least) return false;
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

constexpr double kSingular = 1e-12;
// Quick shapes are trusted only where the system is well away from
// singular, so that their rounding cannot grow in the solution.
constexpr double kQuickSingular = 1e-4;

// Least squares of the bins by the known partial (shape and slope) and a
// sinusoid of the given shape; with N 2, by the known partial alone.
template <int N>
double Fit(const Bins &bins, const double *shape, std::complex<double> x[N], double least = kSingular) {
  double m[N][N] = {};
  std::complex<double> r[N] = {}, rhs[N];
  for (int i = 0; i < 2; ++i) {
    r[i] = bins.projection[i];
    for (int j = 0; j < 2; ++j) m[i][j] = bins.gram[i][j];
  }
  if constexpr (N > 2) {
    for (size_t k = 0; k < bins.values.size(); ++k) {
      r[2] += shape[k] * bins.values[k];
      m[0][2] += bins.known[k] * shape[k];
      m[1][2] += bins.slope[k] * shape[k];
      m[2][2] += shape[k] * shape[k];
    }
    m[2][0] = m[0][2];
    m[2][1] = m[1][2];
  }
  std::copy(r, r + N, rhs);
  if (!SolveGram<N>(m, rhs, x, least)) return INFINITY;
  double explained = 0;
  for (int i = 0; i < N; ++i) explained += std::real(std::conj(x[i]) * r[i]);
  return bins.total - explained;
}

// Finds the trial frequency of least residual as a search that computes
// every shape exactly would, most trials judged on quick shapes: where two
// quick residuals lie within kMargin of the bins' energy of each other (far
// more than the quick shapes' rounding can move them), or either is not
// finite, both are computed exactly and compared as they are.
class Trials {
 public:
  static constexpr double kMargin = 1e-8;

  // Until a trial fits, the best is `start`.
  Trials(const StrumSpectrum &spectrum, const Bins &bins, double start)
      : spectrum_(spectrum), bins_(bins), shape_(bins.values.size()), margin_(kMargin * bins.total), best_(start) {}

  // A trial at f; it becomes the best when its residual is less.
  void Try(double f);
  double Best() const { return best_; }
  // The best trial's residual, exact; an infinite error when none was found.
  Residual BestResidual();

 private:
  Residual Solve(double f, bool quick);

  const StrumSpectrum &spectrum_;
  const Bins &bins_;
  std::vector<double> shape_;
  double margin_;
  double best_;
  double bestQuick_ = INFINITY;
  bool exactKnown_ = true;  // bestExact_ is the best trial's exact residual
  Residual bestExact_;
};

Residual Trials::Solve(double f, bool quick) {
  const int count = static_cast<int>(shape_.size());
  if (quick)
    spectrum_.QuickShapes(bins_.first, count, f, shape_.data());
  else
    for (int k = 0; k < count; ++k) shape_[k] = spectrum_.Shape(bins_.hertz[k] - f);
  std::complex<double> x[3];
  Residual result;
  result.error = Fit<3>(bins_, shape_.data(), x, quick ? kQuickSingular : kSingular);
  result.beside = x[0];
  result.sought = x[2];
  return result;
}

void Trials::Try(double f) {
  const double quick = Solve(f, true).error;
  if (std::isfinite(quick) && std::isfinite(bestQuick_) && std::abs(quick - bestQuick_) > margin_) {
    if (quick < bestQuick_) best_ = f, bestQuick_ = quick, exactKnown_ = false;
    return;
  }
  const Residual exact = Solve(f, false);
  if (!exactKnown_) bestExact_ = Solve(best_, false), exactKnown_ = true;
  if (exact.error < bestExact_.error) best_ = f, bestQuick_ = quick, bestExact_ = exact;
}

Residual Trials::BestResidual() {
  if (!exactKnown_) bestExact_ = Solve(best_, false), exactKnown_ = true;
  return bestExact_;
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
  bins.first = from;
  const double h = 0.01 * spectrum.BinHertz();
  for (int k = from; k <= to; ++k) {
    const double nu = k * spectrum.BinHertz();
    bins.hertz.push_back(nu);
    bins.known.push_back(spectrum.Shape(nu - known));
    bins.slope.push_back((spectrum.Shape(nu - known + h) - spectrum.Shape(nu - known - h)) / (2 * h) * resolution);
    bins.values.push_back(spectrum.Centered(k));
  }
  bins.AddUp();
  std::complex<double> alone[2];
  const double aloneError = Fit<2>(bins, nullptr, alone);
  double step = 2 * reach / kTrials;
  Trials trials(spectrum, bins, guess);
  for (int i = 0; i <= kTrials; ++i) {
    const double f = guess - reach + i * step;
    if (std::abs(f - known) >= 0.5 * resolution) trials.Try(f);
  }
  // Halve the step about the best trial until it is far below a cent.
  for (step *= 0.5; step > 1e-4; step *= 0.5) {
    const double best = trials.Best();
    for (double f : {best - step, best + step}) trials.Try(f);
  }
  const Residual bestResidual = trials.BestResidual();
  const double best = trials.Best();
  if (!std::isfinite(bestResidual.error) || std::abs(best - guess) > reach - step * 4) return false;
  *fit = {best, std::abs(bestResidual.sought), std::abs(bestResidual.beside),
          (aloneError - bestResidual.error) / bins.total};
  return true;
}

}  // namespace Strum
