// The rate converter's quality, measured: sines through it, from the rates
// recordings come in to the tuner's 22050 Hz.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "wave/RateConverter.h"

namespace {

constexpr double kOut = 22050;

// One second of a sine of amplitude 0.5 at `rate`, converted, flushed.
std::vector<float> Converted(double hertz, int rate) {
  std::vector<float> in(static_cast<size_t>(rate));
  for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<float>(0.5 * std::sin(2 * M_PI * hertz * i / rate));
  std::string error;
  const std::unique_ptr<RateConverter> converter = RateConverter::Create(rate, kOut, &error);
  EXPECT_TRUE(converter) << error;
  if (!converter) return {};
  std::vector<float> out(25000);
  size_t got = 0, at = 0;
  for (bool more = true; more;) {
    size_t used = 0, made = 0;
    const bool ended = at == in.size();
    EXPECT_TRUE(converter->Process(ended ? nullptr : in.data() + at, std::min<size_t>(in.size() - at, 1000), &used,
                                   out.data() + got, std::min<size_t>(out.size() - got, 700), &made, &error));
    at += used;
    got += made;
    more = !ended || made > 0;
  }
  out.resize(got);
  return out;
}

// The middle of the output, away from the filter's run-in and run-out.
struct Middle {
  explicit Middle(const std::vector<float> &out) : begin(out.begin() + 2000), end(out.end() - 2000) {}
  std::vector<float>::const_iterator begin, end;
};

// Gain in dB at `hertz`: a least-squares fit of a sine and a cosine.
double GainDb(const std::vector<float> &out, double hertz) {
  double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
  const Middle m(out);
  for (auto it = m.begin; it != m.end; ++it) {
    const double w = 2 * M_PI * hertz * static_cast<double>(it - out.begin()) / kOut;
    const double s = std::sin(w), c = std::cos(w);
    ss += s * s, sc += s * c, cc += c * c, ys += *it * s, yc += *it * c;
  }
  const double det = ss * cc - sc * sc;
  const double a = (ys * cc - yc * sc) / det, b = (yc * ss - ys * sc) / det;
  return 20 * std::log10(std::hypot(a, b) / 0.5);
}

// What is left of the input, in dB against it (a sine of 0.5 has rms 0.5/√2).
double LeftDb(const std::vector<float> &out) {
  double sum = 0;
  const Middle m(out);
  for (auto it = m.begin; it != m.end; ++it) sum += static_cast<double>(*it) * *it;
  return 20 * std::log10(std::sqrt(sum / static_cast<double>(m.end - m.begin)) / (0.5 / std::sqrt(2.0)));
}

// Flat to 10 kHz; from the tuner's Nyquist frequency up, at least 100 dB
// down, so nothing folds back into what the tuner hears. The figures are
// printed for the record.
TEST(RateConverter, PassBandToTenKilohertzAndStopBandFromNyquist) {
  for (int rate : {44100, 48000}) {
    double flattest = 0;
    for (double f : {20.0, 82.4, 440.0, 1000.0, 3000.0, 6000.0, 9000.0, 10000.0}) {
      const double gain = GainDb(Converted(f, rate), f);
      EXPECT_LT(std::fabs(gain), 0.01) << rate << " Hz in, " << f << " Hz";
      flattest = std::max(flattest, std::fabs(gain));
    }
    double least = -1000;
    for (double f = kOut / 2 + 5; f < rate / 2; f += 250) {
      const double left = LeftDb(Converted(f, rate));
      EXPECT_LT(left, -100) << rate << " Hz in, " << f << " Hz";
      least = std::max(least, left);
    }
    std::printf("from %d Hz: pass band to 10 kHz within %.4f dB; stop band at least %.1f dB down\n", rate, flattest,
                -least);
  }
}

}  // namespace
