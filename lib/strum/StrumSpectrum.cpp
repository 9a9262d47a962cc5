#include "StrumSpectrum.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "StrumFormat.h"
#include "measure/Hann.h"

namespace Strum {

using Measure::Hann;

namespace {

constexpr int kFloorBand = 256;        // padded bins per floor band, about 86 Hz
constexpr double kDynamicRange = 1e-4;  // 80 dB

}  // namespace

StrumSpectrum::StrumSpectrum()
    : fft_(kFftSize), input_(kFftSize), turnCos_(kTurns), turnSin_(kTurns), bins_(kFftSize / 2 + 1),
      amplitude_(kFftSize / 2 + 1), floor_(amplitude_.size() / kFloorBand + 1) {}

void StrumSpectrum::Compute(const int16_t *samples, int count) {
  count_ = std::clamp(count, 64, kLongestStretch);
  // Stretches mostly have the same length: the window is made again only
  // when it changes.
  if (static_cast<int>(window_.size()) != count_) {
    window_.resize(count_);
    windowSum_ = 0;
    for (int t = 0; t < count_; ++t) windowSum_ += window_[t] = Hann(t, count_);
    for (int i = 0; i < kTurns; ++i) {
      const double turn = std::numbers::pi * count_ * i / kFftSize;
      turnCos_[i] = std::cos(turn);
      turnSin_[i] = std::sin(turn);
    }
  }
  for (int t = 0; t < count_; ++t) input_[t] = window_[t] * samples[t];
  std::fill(input_.begin() + count_, input_.end(), 0.0);
  fft_.Transform(input_.data(), bins_.data());
  scale_ = 2 / windowSum_;
  for (size_t k = 0; k < bins_.size(); ++k) amplitude_[k] = std::sqrt(std::norm(bins_[k])) * scale_;
  ComputeFloor();
}

double StrumSpectrum::BinHertz() const { return kSampleRate / kFftSize; }

double StrumSpectrum::Resolution() const { return kSampleRate / count_; }

std::complex<double> StrumSpectrum::Centered(int bin) const {
  const double middle = 0.5 * (count_ - 1);
  return bins_[bin] * std::polar(scale_, 2 * std::numbers::pi * bin * middle / kFftSize);
}

namespace {

double SmallSin(double x) {
  const double x2 = x * x;
  return x * (1 - x2 / 6 * (1 - x2 / 20));
}

// The Hann window is ½ + ¼·e^(2πi·t/N) + ¼·e^(−2πi·t/N) about its middle,
// so its transform is three Dirichlet kernels sin(πgN) ÷ sin(πg), whose
// numerators are all ±sin(πfN) (`top`, x = πf); the denominators' angles
// are small.
double Kernels(double x, double top, double n) {
  const double step = std::numbers::pi / n;
  double sum = 0;
  const double parts[3][2] = {{0, 0.5}, {-step, -0.25}, {step, -0.25}};
  for (const auto &[shift, weight] : parts) {
    const double d = SmallSin(x + shift);
    // At a kernel's centre the ratio's limit is ±N.
    sum += std::abs(d) < 1e-12 ? (shift == 0 ? 0.5 * n : 0.25 * n) : weight * top / d;
  }
  return sum / (0.5 * n);
}

// Below this denominator a numerator's rounding weighs too much for
// QuickShapes: the bin's shape is computed exactly.
constexpr double kNearCentre = 1e-6;

}  // namespace

double StrumSpectrum::Shape(double hertz) const {
  const double n = count_, x = std::numbers::pi * (std::abs(hertz) / kSampleRate);
  return Kernels(x, std::sin(x * n), n);
}

// From bin to bin the numerator's angle πN·(ν − f)/fs grows by πN/kFftSize,
// so its sine is the first bin's turned by the stretch's table of turns;
// the three kernels' ratios are put over one denominator. A bin near a
// kernel's centre is marked in the first loop and computed exactly after.
void StrumSpectrum::QuickShapes(int first, int count, double f, double *out) const {
  // SmallSin's and the angle's divisions as products: no division but one per bin.
  auto smallSin = [](double x) {
    const double x2 = x * x;
    return x * (1 - x2 * (1.0 / 6) * (1 - x2 * (1.0 / 20)));
  };
  const double n = count_, step = std::numbers::pi / n, scale = 2 / n, perHertz = std::numbers::pi / kSampleRate;
  const double angle = std::numbers::pi * n * ((first * BinHertz() - f) / kSampleRate);
  const double sine = std::sin(angle), cosine = std::cos(angle);
  const int turned = std::min(count, kTurns);
  for (int i = 0; i < turned; ++i) {
    const double hertz = (first + i) * BinHertz() - f;
    const double x = perHertz * std::abs(hertz);
    const double d0 = smallSin(x), d1 = smallSin(x - step), d2 = smallSin(x + step);
    const double top = sine * turnCos_[i] + cosine * turnSin_[i];
    const double shape = (hertz < 0 ? -top : top) * scale * (0.5 * d1 * d2 - 0.25 * d0 * (d1 + d2)) / (d0 * d1 * d2);
    const bool near = std::abs(d0) < kNearCentre || std::abs(d1) < kNearCentre || std::abs(d2) < kNearCentre;
    out[i] = near ? NAN : shape;
  }
  for (int i = 0; i < count; ++i)
    if (i >= turned || std::isnan(out[i])) out[i] = Shape((first + i) * BinHertz() - f);
}

// A band's median, but never less than kDynamicRange below the strongest
// bin: in a clean recording the window's far sidelobes would otherwise
// stand out of the floor like partials.
void StrumSpectrum::ComputeFloor() {
  std::vector<double> band(kFloorBand);
  const double lowest = *std::max_element(amplitude_.begin(), amplitude_.end()) * kDynamicRange;
  for (size_t b = 0; b < floor_.size(); ++b) {
    const size_t from = b * kFloorBand, to = std::min(from + kFloorBand, amplitude_.size());
    band.assign(amplitude_.begin() + from, amplitude_.begin() + to);
    std::nth_element(band.begin(), band.begin() + band.size() / 2, band.end());
    floor_[b] = std::max(band[band.size() / 2], lowest);
  }
}

double StrumSpectrum::Floor(double hertz) const {
  const int bin = std::clamp(static_cast<int>(hertz / BinHertz()), 0, Bins() - 1);
  return floor_[bin / kFloorBand];
}

bool StrumSpectrum::PeakNear(double hertz, double tolerance, Peak *peak) const {
  const int from = std::max(1, static_cast<int>(std::ceil((hertz - tolerance) / BinHertz())));
  const int to = std::min(Bins() - 2, static_cast<int>(std::floor((hertz + tolerance) / BinHertz())));
  int best = -1;
  for (int k = from; k <= to; ++k)
    if (amplitude_[k] >= amplitude_[k - 1] && amplitude_[k] > amplitude_[k + 1] &&
        (best < 0 || amplitude_[k] > amplitude_[best]))
      best = k;
  if (best < 0) return false;
  *peak = Interpolate(best);
  return true;
}

bool StrumSpectrum::NearestPeak(double hertz, double tolerance, double snr, Peak *peak) const {
  const int from = std::max(1, static_cast<int>(std::ceil((hertz - tolerance) / BinHertz())));
  const int to = std::min(Bins() - 2, static_cast<int>(std::floor((hertz + tolerance) / BinHertz())));
  double distance = tolerance;
  bool found = false;
  for (int k = from; k <= to; ++k) {
    if (amplitude_[k] < amplitude_[k - 1] || amplitude_[k] <= amplitude_[k + 1]) continue;
    if (amplitude_[k] < snr * floor_[k / kFloorBand]) continue;
    const Peak candidate = Interpolate(k);
    if (std::abs(candidate.hertz - hertz) > distance) continue;
    *peak = candidate;
    distance = std::abs(candidate.hertz - hertz);
    found = true;
  }
  return found;
}

// Parabola through the log magnitudes of the peak bin and its neighbours.
StrumSpectrum::Peak StrumSpectrum::Interpolate(int bin) const {
  const double a = std::log(amplitude_[bin - 1] + 1e-12), b = std::log(amplitude_[bin] + 1e-12),
               c = std::log(amplitude_[bin + 1] + 1e-12);
  const double denominator = a - 2 * b + c;
  const double offset = denominator < 0 ? 0.5 * (a - c) / denominator : 0;
  return {(bin + offset) * BinHertz(), std::exp(b - 0.25 * (a - c) * offset)};
}

std::vector<StrumSpectrum::Peak> StrumSpectrum::Peaks(double highest, double snr) const {
  std::vector<Peak> peaks;
  const int last = std::min(Bins() - 2, static_cast<int>(highest / BinHertz()));
  for (int k = 1; k <= last; ++k)
    if (amplitude_[k] >= amplitude_[k - 1] && amplitude_[k] > amplitude_[k + 1] &&
        amplitude_[k] >= snr * floor_[k / kFloorBand])
      peaks.push_back(Interpolate(k));
  return peaks;
}

}  // namespace Strum
