#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "LiteralTone.h"
#include "TestSignals.h"
#include "measure/MainTone3.h"
#include "measure/MeasurerGuitar3.h"
#include "measure/GuitarFactory.h"

namespace {

// Feeds whole blocks to a fresh measurer; checks every result is sane.
size_t Survive(const std::vector<int16_t> &audio, double reference = 440) {
  RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
  RCPtr<IFilter> filter;
  factory->CreateMeasurer(&filter, nullptr);
  auto *m = static_cast<Measure3::MeasurerGuitar3 *>(filter.get());
  m->SetReferenceFrequency(reference);
  size_t results = 0;
  for (size_t at = 0; at + 1000 <= audio.size(); at += 1000) {
    m->ProcessBlock(audio.data() + at);
    std::vector<Measure::Result> r(m->GetResultCount());
    m->GetResults(r.data());
    for (const Measure::Result &x : r) {
      EXPECT_GE(x.level, 1);
      // Periods of 0…501 samples at a sane reference: notes 28…137, or 0.
      if (reference == 440) {
        EXPECT_TRUE(x.note == 0 || (x.note > 28 && x.note < 137)) << x.note;
      }
    }
    results += r.size();
  }
  return results;
}

TEST(Robustness, HostileSignalsNeverBreakTheMeasurer) {
  const size_t n = 40000;
  std::vector<int16_t> square(n);
  for (size_t i = 0; i < n; ++i) square[i] = (i / 50) % 2 ? 32767 : -32768;
  EXPECT_EQ(Survive(square), 24u);
  EXPECT_EQ(Survive(std::vector<int16_t>(n, 0)), 24u);
  EXPECT_EQ(Survive(std::vector<int16_t>(n, -32768)), 24u);
  EXPECT_EQ(Survive(signals::Noise(3, n)), 24u);
  EXPECT_EQ(Survive(signals::Sine(150, 200000, n)), 24u);  // clipped hard
  std::vector<int16_t> alternating(n);
  for (size_t i = 0; i < n; ++i) alternating[i] = i % 2 ? 32767 : -32768;  // Nyquist
  EXPECT_EQ(Survive(alternating), 24u);
  EXPECT_EQ(Survive(signals::Sine(150, 9000, n), 1e-300), 24u);  // absurd references
  EXPECT_EQ(Survive(signals::Sine(150, 9000, n), 1e300), 24u);
}

TEST(Robustness, FullScaleDcHasTheTopLevelAndNoPitch) {
  MainTone3 tone;
  std::vector<int16_t> dc(1000, -32768);
  std::vector<double> notes;
  int16_t level = 0;
  for (int i = 0; i < 5; ++i) tone.Process(dc.data(), &notes, &level);
  EXPECT_EQ(level, 32767);
  for (double v : notes) EXPECT_EQ(v, 0);
}

// Arbitrary bytes as audio, in random block mixtures, through the estimator
// (checked against the literal rules) and the measurer. Seeded: the same
// inputs on every run.
TEST(Robustness, RandomBytesFuzz) {
  signals::Random r(2024);
  for (int round = 0; round < 60; ++round) {
    std::vector<int16_t> audio(30000);
    size_t at = 0;
    while (at < audio.size()) {
      const size_t len = std::min<size_t>(audio.size() - at, 1 + r.Next() % 4000);
      const int mode = r.Next() % 4;
      const double hz = 40 + r.Unit() * 2000;
      const int16_t constant = r.Sample();
      for (size_t i = 0; i < len; ++i, ++at) {
        if (mode == 0) audio[at] = r.Sample();
        else if (mode == 1) audio[at] = constant;
        else if (mode == 2) audio[at] = signals::Clip(40000 * r.Unit() * std::sin(at * hz / 3509.0));
        else audio[at] = static_cast<int16_t>(audio[at > 0 ? at - 1 : 0] + (r.Next() % 64) - 32);
      }
    }
    MainTone3 fast;
    literal::Tone slow;
    std::vector<double> a, b;
    int16_t la = 0, lb = 0;
    for (size_t i = 0; i + 1000 <= audio.size(); i += 1000) {
      fast.Process(audio.data() + i, &a, &la);
      slow.Process(audio.data() + i, &b, &lb);
      ASSERT_EQ(la, lb) << round;
    }
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) ASSERT_NEAR(a[i], b[i], 1e-9) << round << " #" << i;
    Survive(audio);
  }
}

}  // namespace
