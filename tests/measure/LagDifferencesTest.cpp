#include <gtest/gtest.h>

#include <complex>
#include <vector>

#include "TestSignals.h"
#include "measure/LagDifferences.h"
#include "measure/RealFft.h"
#include "measure/SquaredDifference.h"

namespace {

using signals::Random;

// Stretches that push the transforms' rounding hardest: full-scale noise,
// a full-scale square wave and alternating extremes (every product at its
// largest), clipped tones, plucks, quiet noise and silence.
std::vector<int16_t> Stretch(int kind, size_t count, Random &r) {
  std::vector<int16_t> s(count);
  switch (kind % 6) {
    case 0: return signals::Noise(r.Next(), count);
    case 1:
      for (size_t i = 0; i < count; ++i) s[i] = (i / (7 + r.Next() % 400)) % 2 ? 32767 : -32768;
      return s;
    case 2:
      for (size_t i = 0; i < count; ++i) s[i] = i % 2 ? -32768 : 32767;
      return s;
    case 3: return signals::Sine(30 + 1500 * r.Unit(), 90000, count, r.Unit() * 6);
    case 4: return signals::Pluck(40 + 900 * r.Unit(), 30000, count, 0.3 + r.Unit());
    default: return r.Next() % 2 ? signals::Noise(r.Next(), count, 3) : s;
  }
}

// Every lag's difference equals the plain sum exactly, at the fine
// measurer's longest search and at short and odd lengths.
TEST(LagDifferences, EqualThePlainSumsAtEveryLag) {
  Random r(5);
  Amdf::LagDifferences lags;
  std::vector<int64_t> out;
  const int shapes[][2] = {{1024, 850}, {1024, 850}, {700, 850}, {1, 1}, {33, 24}, {300, 511}, {1025, 1023}};
  for (int trial = 0; trial < 60; ++trial) {
    const auto [count, maxLag] = shapes[trial % 7];
    const std::vector<int16_t> x = Stretch(trial, count + maxLag, r);
    lags.Compute(x.data(), count, maxLag, &out);
    ASSERT_EQ(out.size(), static_cast<size_t>(maxLag + 1));
    for (int lag = 0; lag <= maxLag; ++lag)
      ASSERT_EQ(out[lag], Amdf::SquaredDifference(x.data(), lag, count)) << "trial " << trial << " lag " << lag;
  }
}

// The inverse undoes the transform, and takes a lone bin back to its
// cosine, at small and large sizes.
TEST(LagDifferences, TheInverseTransformUndoesTheTransform) {
  for (int size : {4, 16, 2048, 8192}) {
    Measure::RealFft fft(size);
    std::vector<double> in(size), back(size);
    Random r(size);
    for (double &v : in) v = r.Sample();
    std::vector<std::complex<double>> spectrum(size / 2 + 1);
    fft.Transform(in.data(), spectrum.data());
    fft.Inverse(spectrum.data(), back.data());
    for (int t = 0; t < size; ++t) ASSERT_NEAR(back[t], in[t], 1e-7) << size << " " << t;
    std::fill(spectrum.begin(), spectrum.end(), 0.0);
    const int bin = size / 8 + 1;  // neither the first bin nor the last, which are real
    spectrum[bin] = std::polar(size / 2.0, 0.3);
    fft.Inverse(spectrum.data(), back.data());
    for (int t = 0; t < size; ++t)
      ASSERT_NEAR(back[t], std::cos(2 * signals::kPi * bin * t / size + 0.3), 1e-12) << size << " " << t;
  }
}

}  // namespace
