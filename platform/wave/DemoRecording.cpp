#include "DemoRecording.h"

#include <array>
#include <cmath>

#include "base/SoundFormat.h"
#include "base/StandardTuning.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr size_t kSilence = drovane::kSampleRate / 2;
constexpr size_t kRing = 3 * drovane::kSampleRate;

std::vector<DemoRecording::Pluck> MakePlucks() {
  // E2 A2 D3 G3 B3 E4, each off by a few cents either way.
  const std::array<int, 6> &strings = drovane::kStandardTuning;
  const double cents[6] = {-12, 7, -4, 15, -9, 3};
  std::vector<DemoRecording::Pluck> plucks;
  size_t at = kSilence;
  for (int i = 0; i < 6; ++i) {
    plucks.push_back({strings[i] + cents[i] / 100, at, kRing});
    at += kRing + kSilence;
  }
  return plucks;
}

// A plucked string: harmonics fading faster the higher they are, the whole
// decaying over about a second.
double StringAt(double hertz, double t) {
  double v = 0;
  for (int h = 1; h <= 10 && h * hertz < drovane::kSampleRate / 2; ++h)
    v += std::exp(-t * (0.6 + 0.5 * h)) / h * std::sin(2 * kPi * h * hertz * t + 0.7 * h);
  return v * std::exp(-t * 0.9);
}

}  // namespace

DemoRecording::DemoRecording() = default;

const std::vector<DemoRecording::Pluck> &DemoRecording::Plucks() {
  static const std::vector<Pluck> plucks = MakePlucks();
  return plucks;
}

size_t DemoRecording::TotalSamples() {
  const Pluck &last = Plucks().back();
  return last.start + last.length + kSilence;
}

int16_t DemoRecording::SampleAt(size_t index) {
  noise_ = noise_ * 1664525u + 1013904223u;
  double v = (static_cast<int32_t>(noise_ >> 16) - 32768) * (30.0 / 32768);  // a quiet room
  for (const Pluck &p : Plucks()) {
    if (index < p.start || index >= p.start + p.length) continue;
    const double hertz = 440.0 * std::pow(2.0, (p.note - 69) / 12);
    v += 14000 * StringAt(hertz, static_cast<double>(index - p.start) / drovane::kSampleRate);
  }
  v = std::floor(v + 0.5);
  return static_cast<int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
}

size_t DemoRecording::Read(int16_t *out, size_t max) {
  size_t n = 0;
  const size_t total = TotalSamples();
  while (n < max && position_ < total) out[n++] = SampleAt(position_++);
  return n;
}
