#pragma once

#include <complex>
#include <utility>
#include <vector>

namespace Measure {

// Discrete Fourier transform of a real sequence whose length is a power of
// two, by a radix-2 transform of half the length. Tables are built once at
// construction; Transform allocates nothing. The half-length transform
// keeps real and imaginary parts apart, and each stage its own twiddles in
// a row, so its butterflies run in vectors.
class RealFft {
 public:
  explicit RealFft(int size);  // size: a power of two, at least 4

  int Size() const { return size_; }

  // out[k] = Σ in[t]·e^(−2πi·k·t/size) for k = 0…size/2. `in` holds size
  // values, `out` size/2 + 1.
  void Transform(const double *in, std::complex<double> *out);
  // The inverse: out[t] = (1/size)·Σ in[k]·e^(2πi·k·t/size) over the whole
  // spectrum, whose upper half mirrors `in` (size/2 + 1 values) conjugated:
  // Inverse(Transform(x)) is x. `out` holds size values.
  void Inverse(const std::complex<double> *in, double *out);

 private:
  void HalfTransform();

  int size_;
  std::vector<std::pair<int, int>> swaps_;     // the bit reversal of half-size indices, as swaps
  std::vector<std::complex<double>> twiddle_;  // e^(−2πi·k/size), k < size/2
  std::vector<double> stageRe_, stageIm_;      // for each span s = 2, 4, …: the s/2 twiddles of its stage
  std::vector<double> re_, im_;                // the half-length sequence being transformed
};

}  // namespace Measure
