#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <vector>

#include "LiteralTone.h"
#include "TestSignals.h"
#include "general/UninitCaller.h"
#include "filters/MediaSample.h"
#include "measure/GuitarFactory.h"
#include "measure/MainTone3.h"
#include "measure/ProcessMeasure_H.h"

namespace {

// All results of a recording through the tuner's pipeline, 2205 samples per
// capture buffer.
std::vector<Measure::Result> Measure(const std::vector<int16_t> &audio) {
  struct Sink {
    std::vector<Measure::Result> all;
    void On(const Measure::Result *r, unsigned n) { all.insert(all.end(), r, r + n); }
  } sink;
  UninitCaller root;
  RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
  RCPtr<ProcessMeasure_H> pipeline(new ProcessMeasure_H(
      &root, MakeDelegate<void(const Measure::Result *, unsigned int)>(&sink, &Sink::On), factory.get()));
  for (size_t at = 0; at < audio.size(); at += 2205) {
    const size_t n = std::min<size_t>(2205, audio.size() - at);
    uint8_t *data = nullptr;
    RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, static_cast<uint32_t>(2 * n), &data));
    std::memcpy(data, audio.data() + at, 2 * n);
    pipeline->OnSample(s.get());
  }
  return sink.all;
}

struct Spread {
  double worst = 0, sum = 0;
  int count = 0;
};

// Every reading after the first names the played string; steady tones lie
// within a few cents. The figures are printed for the record.
TEST(Accuracy, SixStringsAtKnownOffsets) {
  const double strings[6] = {40, 45, 50, 55, 59, 64};
  const double offsets[] = {-30, -12, 0, 9, 25};
  for (int kind = 0; kind < 2; ++kind) {
    for (double string : strings) {
      Spread spread;
      for (double cents : offsets) {
        const double hz = signals::Hertz(string, cents);
        const std::vector<int16_t> audio =
            kind == 0 ? signals::Sine(hz, 8000, 2 * 22050) : signals::Pluck(hz, 20000, 2 * 22050, 2.0);
        const std::vector<Measure::Result> r = Measure(audio);
        ASSERT_EQ(r.size(), 44u - 16u);
        for (size_t i = 1; i < r.size(); ++i) {
          ASSERT_EQ(std::floor(r[i].note + 0.5), string) << "string " << string << " cents " << cents << " #" << i;
          const double error = (r[i].note - string) * 100 - cents;
          spread.worst = std::max(spread.worst, std::fabs(error));
          spread.sum += std::fabs(error);
          ++spread.count;
        }
      }
      std::printf("%-6s string %2.0f: mean |error| %.2f cents, worst %.2f cents over %d readings\n",
                  kind == 0 ? "sine" : "pluck", string, spread.sum / spread.count, spread.worst, spread.count);
      EXPECT_LT(spread.worst, 5.0) << string;
    }
  }
}

// The estimator over long mixed signals agrees with the literal rules.
TEST(Accuracy, EstimatorMatchesTheLiteralRulesOnAPerformance) {
  std::vector<int16_t> audio;
  const double notes[] = {40.1, 52.3, 45.0, 0, 64.2, 59.9, 55.5, 47.0};
  signals::Random r(77);
  for (double n : notes) {
    std::vector<int16_t> part = n == 0 ? signals::Noise(r.Next(), 30000, 300)
                                       : signals::Pluck(signals::Hertz(n), 5000 + 20000 * r.Unit(), 30000 + r.Next() % 9000);
    audio.insert(audio.end(), part.begin(), part.end());
  }
  MainTone3 fast;
  literal::Tone slow;
  std::vector<double> a, b;
  int16_t la = 0, lb = 0;
  for (size_t at = 0; at + 1000 <= audio.size(); at += 1000) {
    fast.Process(audio.data() + at, &a, &la);
    slow.Process(audio.data() + at, &b, &lb);
    ASSERT_EQ(la, lb);
  }
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) ASSERT_NEAR(a[i], b[i], 1e-9) << i;
}

}  // namespace
