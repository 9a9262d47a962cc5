#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "strum/HidingFit.h"
#include "strum/PartialTrack.h"

namespace {

using Strum::PartialTrack;
using Complex = std::complex<double>;

constexpr double kRate = 22050;

// A partial's track: silent before the tone starts, its amplitude and phase
// in every frame after, the share of the window after the start in a frame
// that holds it; a tone off the track's frequency turns by its offset.
TEST(PartialTrack, ReadsAToneFromItsStartWithItsAmplitudeAndPhase) {
  constexpr int kCount = 16000, kStart = 5000;
  constexpr double kHertz = 330, kAmplitude = 8000, kPhase = 0.7;
  std::vector<int16_t> samples(kCount);
  for (int t = kStart; t < kCount; ++t)
    samples[t] = static_cast<int16_t>(std::lround(kAmplitude * std::cos(2 * std::numbers::pi * kHertz * t / kRate + kPhase)));
  PartialTrack track;
  track.Compute(samples.data(), kCount, kHertz);
  ASSERT_EQ(track.Frames(), (kCount - PartialTrack::kFrame) / PartialTrack::kHop + 1);
  for (int m = 0; m < track.Frames(); ++m) {
    SCOPED_TRACE(m);
    const Complex expected = std::polar(kAmplitude, kPhase) * PartialTrack::After(m, kStart);
    EXPECT_LT(std::abs(track[m] - expected), 0.01 * kAmplitude);
  }
  EXPECT_DOUBLE_EQ(PartialTrack::After(0, 0), 1);
  EXPECT_DOUBLE_EQ(PartialTrack::After(0, PartialTrack::kFrame), 0);
  EXPECT_NEAR(PartialTrack::After(3, PartialTrack::Middle(3)), 0.5, 1e-3);

  PartialTrack off;
  off.Compute(samples.data(), kCount, kHertz - 2);
  const int m = track.Frames() - 2;
  const double turn = std::arg(off[m + 1] / off[m]);
  EXPECT_NEAR(turn, 2 * std::numbers::pi * 2 * PartialTrack::kHop / kRate, 1e-3);
  EXPECT_NEAR(std::abs(off[m]), kAmplitude, 0.03 * kAmplitude);  // 2 Hz down the window's main lobe
  PartialTrack none;
  none.Compute(samples.data(), PartialTrack::kFrame - 1, kHertz);
  EXPECT_EQ(none.Frames(), 0);
}

// A track made of known envelopes and one more sound: the envelopes leave
// exactly that sound, which the fit finds with its coefficient; an
// envelope that repeats another adds nothing, and a sound within their
// span explains nothing more.
TEST(HidingFit, FindsWhatTheEnvelopesLeaveAndTheCoefficientOfAnAddedSound) {
  constexpr int kFrames = 40;
  std::vector<Complex> decay(kFrames), step(kFrames), late(kFrames), track(kFrames), twice(kFrames), mixed(kFrames);
  const Complex a(2, 0), b(1, -1), c(0, 0.5);
  for (int m = 0; m < kFrames; ++m) {
    decay[m] = std::exp(-0.05 * m) * std::polar(1.0, 0.1 * m);
    step[m] = m >= 8 ? 1.0 : 0.0;
    late[m] = m >= 20 ? std::exp(-0.02 * (m - 20)) : 0.0;
    track[m] = a * decay[m] + b * step[m] + c * late[m];
    twice[m] = 3.0 * decay[m];
    mixed[m] = decay[m] - 2.0 * step[m];
  }
  Strum::HidingFit fit;
  fit.Reset(track);
  fit.Add(decay);
  fit.Add(step);
  const double left = fit.Residual();
  fit.Add(twice);
  EXPECT_NEAR(fit.Residual(), left, 1e-9 * fit.Energy());
  Complex coefficient;
  EXPECT_NEAR(fit.Explains(late, &coefficient), left, 1e-9 * fit.Energy());
  EXPECT_NEAR(std::abs(coefficient - c), 0, 1e-9);
  EXPECT_EQ(fit.Explains(mixed), 0);
  fit.Add(late);
  EXPECT_NEAR(fit.Residual(), 0, 1e-9 * fit.Energy());

  fit.Reset(late);  // a fresh fit forgets the envelopes
  EXPECT_NEAR(fit.Residual(), fit.Energy(), 1e-12);
  EXPECT_NEAR(fit.Explains(late), fit.Energy(), 1e-9 * fit.Energy());
}

}  // namespace
