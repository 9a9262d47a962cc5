#pragma once

#include <complex>
#include <span>
#include <vector>

namespace Strum {

// A partial's track fitted by the envelopes of the strings known to sound
// there, and what one more component would add to that fit. The envelopes
// are orthonormalised as they come (Gram–Schmidt), so each trial of the
// added component costs one pass over the frames.
class HidingFit {
 public:
  // An envelope that adds less than this share of its own energy to those
  // before it is dropped: two strings struck together at one partial are
  // one envelope.
  static constexpr double kIndependent = 1e-6;

  void Reset(std::span<const std::complex<double>> track);
  void Add(std::span<const std::complex<double>> envelope);

  double Energy() const { return energy_; }  // Σ|track|²
  double Residual() const;                   // what the envelopes leave of it

  // The energy `extra` would explain beyond the envelopes, and its
  // coefficient in the joint fit.
  double Explains(std::span<const std::complex<double>> extra, std::complex<double> *coefficient = nullptr) const;

 private:
  std::vector<std::complex<double>> residual_;
  std::vector<std::vector<std::complex<double>>> basis_;  // orthonormal
  double energy_ = 0;
  int used_ = 0;
};

}  // namespace Strum
