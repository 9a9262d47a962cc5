#include "OnsetDetector.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "StrumFormat.h"
#include "measure/Hann.h"

namespace Strum {

using Measure::Hann;

namespace {

constexpr double kLowest = 60.0, kHighest = 6000.0;  // hertz weighed
constexpr double kCompression = 1.0;   // log(1 + |X| / kCompression), amplitude in sample units
constexpr int kThresholdFrames = 43;   // half a second of flux
constexpr double kThresholdFactor = 1.5;
constexpr double kLeastFlux = 20.0;    // quieter rises are noise
// An attack shows in the flux while it crosses the window's first half:
// the onset is dated that far back from the frame's end.
constexpr int kAttackLag = OnsetDetector::kFrame * 7 / 16;

}  // namespace

OnsetDetector::OnsetDetector()
    : fft_(kFrame), window_(kFrame), frame_(kFrame), input_(kFrame), bins_(kFrame / 2 + 1),
      previous_(kFrame / 2 + 1), current_(kFrame / 2 + 1), recent_(kThresholdFrames), sorted_(kThresholdFrames) {
  double sum = 0;
  for (int t = 0; t < kFrame; ++t) sum += window_[t] = Hann(t, kFrame);
  for (double &w : window_) w *= 2 / sum;  // amplitudes in sample units
}

// frame_ is a ring of the last kFrame samples; every hop completes a frame.
void OnsetDetector::Feed(const int16_t *samples, size_t count, std::vector<Onset> *onsets) {
  for (size_t i = 0; i < count; ++i) {
    frame_[position_ % kFrame] = samples[i];
    ++position_;
    if (position_ % kHop == 0 && position_ >= kFrame) AnalyseFrame(onsets);
  }
}

double OnsetDetector::Flux() {
  // The ring's oldest sample is at position_ % kFrame: two runs, no index
  // wrapped per sample.
  const int oldest = static_cast<int>(position_ % kFrame), split = kFrame - oldest;
  for (int t = 0; t < split; ++t) input_[t] = window_[t] * frame_[oldest + t];
  for (int t = split; t < kFrame; ++t) input_[t] = window_[t] * frame_[t - split];
  fft_.Transform(input_.data(), bins_.data());
  const int from = static_cast<int>(kLowest * kFrame / kSampleRate), to = static_cast<int>(kHighest * kFrame / kSampleRate);
  std::swap(previous_, current_);
  double flux = 0;
  for (int k = from; k <= to; ++k) {
    current_[k] = std::log1p(std::sqrt(std::norm(bins_[k])) / kCompression);
    flux += std::max(0.0, current_[k] - previous_[k]);
  }
  return flux;
}

double OnsetDetector::Threshold() {
  const int count = static_cast<int>(std::min<int64_t>(frames_, kThresholdFrames));
  if (count == 0) return kLeastFlux;
  sorted_.assign(recent_.begin(), recent_.begin() + count);
  std::nth_element(sorted_.begin(), sorted_.begin() + count / 2, sorted_.end());
  return std::max(kLeastFlux, kThresholdFactor * sorted_[count / 2]);
}

// The flux of the frame before the newest is an onset when it tops both
// neighbours and the threshold of the half second before it.
void OnsetDetector::AnalyseFrame(std::vector<Onset> *onsets) {
  const double flux = Flux();
  if (frames_ >= 2 && fluxLast_ > fluxBefore_ && fluxLast_ >= flux && fluxLast_ > Threshold())
    onsets->push_back({std::max<int64_t>(0, position_ - kHop - kAttackLag), fluxLast_});
  recent_[frames_ % kThresholdFrames] = fluxBefore_;
  ++frames_;
  fluxBefore_ = fluxLast_;
  fluxLast_ = flux;
}

}  // namespace Strum
