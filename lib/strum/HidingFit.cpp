#include "HidingFit.h"

#include <algorithm>

namespace Strum {

namespace {

std::complex<double> Inner(std::span<const std::complex<double>> a, std::span<const std::complex<double>> b) {
  std::complex<double> sum;
  for (size_t m = 0; m < a.size(); ++m) sum += std::conj(a[m]) * b[m];
  return sum;
}

double Norm(std::span<const std::complex<double>> a) {
  double sum = 0;
  for (const std::complex<double> &v : a) sum += std::norm(v);
  return sum;
}

}  // namespace

void HidingFit::Reset(std::span<const std::complex<double>> track) {
  residual_.assign(track.begin(), track.end());
  energy_ = Norm(track);
  used_ = 0;
}

void HidingFit::Add(std::span<const std::complex<double>> envelope) {
  if (basis_.size() <= static_cast<size_t>(used_)) basis_.emplace_back();
  std::vector<std::complex<double>> &q = basis_[used_];
  q.assign(envelope.begin(), envelope.end());
  const double own = Norm(q);
  for (int k = 0; k < used_; ++k) {
    const std::complex<double> p = Inner(basis_[k], q);
    for (size_t m = 0; m < q.size(); ++m) q[m] -= p * basis_[k][m];
  }
  const double left = Norm(q);
  if (!(left > kIndependent * own)) return;
  for (std::complex<double> &v : q) v /= std::sqrt(left);
  const std::complex<double> p = Inner(q, residual_);
  for (size_t m = 0; m < q.size(); ++m) residual_[m] -= p * q[m];
  ++used_;
}

double HidingFit::Residual() const { return Norm(residual_); }

// The residual is orthogonal to the envelopes, so ⟨extra, residual⟩ is
// what the part of `extra` outside their span meets of it.
double HidingFit::Explains(std::span<const std::complex<double>> extra, std::complex<double> *coefficient) const {
  double outside = Norm(extra);
  for (int k = 0; k < used_; ++k) outside -= std::norm(Inner(basis_[k], extra));
  if (!(outside > kIndependent * Norm(extra))) return 0;
  const std::complex<double> meets = Inner(extra, residual_);
  if (coefficient) *coefficient = meets / outside;
  return std::norm(meets) / outside;
}

}  // namespace Strum
