#include "Convolution.h"

#include <algorithm>
#include <complex>
#include <numbers>

namespace material {

namespace {

using Complex = std::complex<double>;

void Transform(std::vector<Complex> &a, bool inverse) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const Complex w = std::polar(1.0, (inverse ? 2 : -2) * std::numbers::pi / len);
    for (size_t i = 0; i < n; i += len) {
      Complex turn = 1;
      for (size_t k = 0; k < len / 2; ++k, turn *= w) {
        const Complex u = a[i + k], v = a[i + k + len / 2] * turn;
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
      }
    }
  }
  if (inverse)
    for (Complex &v : a) v /= static_cast<double>(n);
}

}  // namespace

std::vector<double> Convolve(const std::vector<double> &x, const std::vector<double> &h) {
  std::vector<double> y(x.size());
  if (h.empty() || x.empty()) return y;
  size_t size = 1;
  while (size < 2 * h.size()) size <<= 1;
  const size_t block = size - h.size() + 1;
  std::vector<Complex> kernel(size);
  std::copy(h.begin(), h.end(), kernel.begin());
  Transform(kernel, false);
  std::vector<Complex> part(size);
  for (size_t from = 0; from < x.size(); from += block) {
    std::fill(part.begin(), part.end(), Complex());
    const size_t count = std::min(block, x.size() - from);
    std::copy_n(x.begin() + from, count, part.begin());
    Transform(part, false);
    for (size_t k = 0; k < size; ++k) part[k] *= kernel[k];
    Transform(part, true);
    for (size_t k = 0; k < size && from + k < y.size(); ++k) y[from + k] += part[k].real();
  }
  return y;
}

}  // namespace material
