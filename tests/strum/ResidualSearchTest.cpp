// The search of what the chosen strings leave: a low C whose fundamental a
// small microphone took, its second and third partials beside C3's first
// and G2's second, is found at its pitch once C3 and G2 are explained; with
// no low C sounding, C3's and G2's partials leave nothing to find in its
// range, not even a "string" at half C3's pitch.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "strum/ResidualSearch.h"

namespace {

using Strum::HarmonicString;

constexpr double kRate = 22050;
constexpr int kCount = 13230;  // 0.6 s

std::vector<int16_t> Render(const std::vector<HarmonicString> &strings, int firstOfLowest) {
  std::vector<int16_t> samples(kCount);
  uint32_t noise = 12345;
  for (int t = 0; t < kCount; ++t) {
    noise = noise * 1664525u + 1013904223u;
    double v = 3.0 * (static_cast<double>(noise >> 8) / (1 << 24) - 0.5);  // a capture's noise, 70 dB down
    for (size_t s = 0; s < strings.size(); ++s)
      for (int n = s == 0 ? firstOfLowest : 1; n <= 12; ++n)
        v += 1500.0 / n * std::sin(2 * std::numbers::pi * strings[s].Partial(n) * t / kRate + 0.7 * n + s);
    samples[t] = static_cast<int16_t>(std::lround(v));
  }
  return samples;
}

double Cents(double a, double b) { return 1200 * std::log2(a / b); }

TEST(ResidualSearch, FindsALowStringAmongOthersPartialsOnceTheyAreExplained) {
  const HarmonicString c2{64.87, 1.2e-4}, g2{97.8, 8e-5}, c3{132.2, 6e-5};
  Strum::StrumSpectrum spectrum;
  Strum::PeakList peaks;
  Strum::PartialMask chosen;
  chosen.Add(g2);
  chosen.Add(c3);
  auto search = [&](const std::vector<int16_t> &samples) {
    spectrum.Compute(samples.data(), kCount);
    peaks.Read(spectrum);
    return Strum::SearchResidual(spectrum, peaks, chosen, 0.5 * spectrum.Resolution(), 2.5 * spectrum.Resolution(),
                                 61.7, 69.3);
  };

  const std::vector<Strum::StringFit> found = search(Render({c2, g2, c3}, 2));
  ASSERT_FALSE(found.empty());
  EXPECT_NEAR(Cents(found.front().model.Fundamental(), c2.Fundamental()), 0, 0.5);
  EXPECT_TRUE(found.front().ShowsItself());
  EXPECT_FALSE(found.front().amplitude[1] > 0) << "the fundamental is gone";

  // Without C3 and G2 explained, their peaks are the residual, and half C3's
  // pitch would read only even partials: no string.
  const std::vector<Strum::StringFit> none = search(Render({c3, g2}, 1));
  EXPECT_TRUE(none.empty()) << none.front().model.Fundamental();
  const Strum::PeakList left = Strum::Unexplained(peaks, chosen, 0.5 * spectrum.Resolution(), 6 * spectrum.Resolution());
  EXPECT_LT(left.peaks.size(), peaks.peaks.size() / 4) << "C3's and G2's peaks are theirs";
}

}  // namespace
