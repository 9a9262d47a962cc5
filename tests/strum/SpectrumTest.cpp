#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "strum/Fading.h"
#include "strum/PairFit.h"
#include "strum/StrumSpectrum.h"

namespace {

constexpr double kRate = 22050;

// Sinusoids (hertz, amplitude, decay per second) summed, rounded to samples.
std::vector<int16_t> Tones(std::initializer_list<std::array<double, 3>> tones, size_t count) {
  std::vector<int16_t> s(count);
  for (size_t t = 0; t < count; ++t) {
    double v = 0;
    for (const auto &[hertz, amplitude, decay] : tones)
      v += amplitude * std::exp(-decay * t / kRate) * std::cos(2 * std::numbers::pi * hertz * t / kRate + 0.4);
    s[t] = static_cast<int16_t>(std::lround(v));
  }
  return s;
}

// The window's shape and the centred bins model a sinusoid exactly; peaks
// are read between bins; the floor lies far below a lone partial.
TEST(StrumSpectrum, ModelsASinusoidByTheWindowsShape) {
  Strum::StrumSpectrum spectrum;
  const std::vector<int16_t> tone = Tones({{{251.37, 10000, 0}}}, 14000);
  spectrum.Compute(tone.data(), static_cast<int>(tone.size()));
  EXPECT_NEAR(spectrum.Resolution(), kRate / 14000, 1e-12);
  const int centre = static_cast<int>(std::lround(251.37 / spectrum.BinHertz()));
  const std::complex<double> a = spectrum.Centered(centre) / spectrum.Shape(centre * spectrum.BinHertz() - 251.37);
  EXPECT_NEAR(std::abs(a), 10000, 1);
  for (int k = centre - 30; k <= centre + 30; ++k)
    EXPECT_NEAR(std::abs(a * spectrum.Shape(k * spectrum.BinHertz() - 251.37) - spectrum.Centered(k)), 0, 0.05) << k;
  EXPECT_DOUBLE_EQ(spectrum.Shape(0), 1);
  EXPECT_NEAR(spectrum.Shape(2 * spectrum.Resolution()), 0, 1e-9);  // the main lobe's edge
  Strum::StrumSpectrum::Peak peak;
  ASSERT_TRUE(spectrum.PeakNear(250, 3, &peak));
  EXPECT_NEAR(peak.hertz, 251.37, 0.01);
  EXPECT_NEAR(peak.amplitude, 10000, 20);
  EXPECT_LT(spectrum.Floor(251.37), 1);
}

// A partial 1.2 resolutions beside another of twice its amplitude, which
// shows no peak of its own, is read within a fifth of a cent, both
// decaying at their own rates; one too
// close to tell apart is refused, and so is a sought partial that is not
// there (what remains beside a lone partial explains nothing).
TEST(StrumSpectrum, ReadsAPartialBesideAnother) {
  Strum::StrumSpectrum spectrum;
  const int count = 14000;
  const double resolution = kRate / count, known = 247.2, sought = known + 1.2 * resolution;
  const std::vector<int16_t> pair = Tones({{{known, 8000, 1.0}}, {{sought, 4000, 0.5}}}, count);
  spectrum.Compute(pair.data(), count);
  Strum::PairFit fit;
  ASSERT_TRUE(Strum::FitBeside(spectrum, known, sought + 0.3, 0.5 * resolution, &fit));
  EXPECT_NEAR(fit.hertz, sought, 0.03);
  EXPECT_NEAR(fit.amplitude, 4000 * 0.85, 400);  // decayed over the stretch
  EXPECT_NEAR(fit.knownAmplitude, 8000 * 0.72, 800);
  EXPECT_GT(fit.explained, 0.1);
  EXPECT_FALSE(Strum::FitBeside(spectrum, known, known + 0.5 * resolution, 0.2 * resolution, &fit));

  const std::vector<int16_t> alone = Tones({{{known, 8000, 1.0}}}, count);
  spectrum.Compute(alone.data(), count);
  if (Strum::FitBeside(spectrum, known, sought, 0.5 * resolution, &fit)) {
    EXPECT_LT(fit.explained, 0.01);
  }
}

// A ringing partial keeps most of itself from one half of a stretch to the
// next; a muted string's thud keeps nothing.
TEST(StrumSpectrum, TellsARingingPartialFromAThud) {
  const std::vector<int16_t> ringing = Tones({{{110, 5000, 1.5}}, {{220, 5000, 60}}}, 13000);
  EXPECT_GT(Strum::Fading(ringing.data(), 13000, 110), 0.5);
  EXPECT_LT(Strum::Fading(ringing.data(), 13000, 220), 0.01);
  const std::vector<int16_t> silence(13000);
  EXPECT_EQ(Strum::Fading(silence.data(), 13000, 110), 0);
}

// The quick shapes follow the exact ones across the main lobe and the
// sidelobes, below and above the sinusoid, on bins that fall on a kernel's
// centre too, for stretches of any length.
TEST(StrumSpectrum, QuickShapesFollowTheExactOnes) {
  Strum::StrumSpectrum spectrum;
  for (int count : {13450, 9001, 2048}) {
    const std::vector<int16_t> tone = Tones({{{300, 1000, 0}}}, count);
    spectrum.Compute(tone.data(), count);
    const double bin = spectrum.BinHertz();
    for (double f : {301.3, 400 * bin, 400 * bin + spectrum.Resolution(), 400.37 * bin, 1234.5}) {
      const int first = static_cast<int>(f / bin) - 60;
      std::vector<double> quick(120);
      spectrum.QuickShapes(first, 120, f, quick.data());
      double largest = 0;
      for (int i = 0; i < 120; ++i) {
        const double exact = spectrum.Shape((first + i) * bin - f);
        largest = std::max(largest, std::abs(exact));
        EXPECT_NEAR(quick[i], exact, 1e-12) << count << " " << f << " " << i;
      }
      EXPECT_GT(largest, 0.5) << count << " " << f;  // the main lobe was among them
    }
  }
}

// A stretch of another length than the last is windowed for its own
// length: its spectrum and its fading are those read afresh.
TEST(StrumSpectrum, AStretchOfAnotherLengthIsWindowedAfresh) {
  const std::vector<int16_t> tone = Tones({{{196, 6000, 2}}, {{523, 3000, 9}}}, 13000);
  Strum::StrumSpectrum used, fresh;
  used.Compute(tone.data(), 13000);
  used.Compute(tone.data(), 7000);
  fresh.Compute(tone.data(), 7000);
  ASSERT_EQ(used.Bins(), fresh.Bins());
  for (int k = 0; k < used.Bins(); ++k) ASSERT_EQ(used.Amplitude(k), fresh.Amplitude(k)) << k;
  EXPECT_EQ(used.Floor(523), fresh.Floor(523));

  // The fading read by a plain windowed sum, for each length in turn.
  auto plain = [&](int count, double hertz) {
    std::complex<double> first, second;
    const int half = count / 2;
    for (int t = 0; t < half; ++t) {
      const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * (t + 0.5) / half);
      const std::complex<double> turn = std::polar(1.0, -2 * std::numbers::pi * hertz * t / kRate);
      first += w * static_cast<double>(tone[t]) * turn;
      second += w * static_cast<double>(tone[half + t]) * turn;
    }
    return std::abs(second) / std::abs(first);
  };
  for (int count : {13000, 7000, 13000, 4001})
    for (double hertz : {196.0, 523.0}) EXPECT_NEAR(Strum::Fading(tone.data(), count, hertz), plain(count, hertz), 1e-9);
}

}  // namespace
