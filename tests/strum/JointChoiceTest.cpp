#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <numbers>
#include <vector>

#include "strum/Confidence.h"
#include "strum/JointChoice.h"
#include "strum/ShadowedString.h"
#include "strum/StrumReading.h"

namespace {

using Strum::HarmonicString;

constexpr double kResolution = 1.6;  // hertz: a 0.6 s stretch

// Peaks at the given strings' partials up to 2 kHz, 30 dB above the floor,
// lowest first; partials of different strings that meet are one peak.
Strum::PeakList Peaks(const std::vector<HarmonicString> &strings, int skipFirst = -1) {
  Strum::PeakList list;
  for (size_t s = 0; s < strings.size(); ++s)
    for (int n = 1; strings[s].Partial(n) < 2000; ++n) {
      if (static_cast<int>(s) == skipFirst && n == 1) continue;
      const double f = strings[s].Partial(n);
      bool met = false;
      for (const auto &p : list.peaks) met |= std::abs(p.hertz - f) < 0.5;
      if (!met) list.peaks.push_back({f, 1000.0 / n});
    }
  std::sort(list.peaks.begin(), list.peaks.end(), [](const auto &a, const auto &b) { return a.hertz < b.hertz; });
  list.weights.assign(list.peaks.size(), 30.0);
  return list;
}

// Options and the joint choice: the true strings are chosen; a "string" made
// of another's partials (E3 on E2's even partials, in D3's range) stays out
// for it has no low partial of its own; a string whose fundamental the
// microphone lost is still a string when its second and third partials
// sound, while a pitch at half another's (only its even partials) is not.
TEST(JointChoice, ChoosesTheStringsThatExplainThePeaksAndNoneMadeOfOthers) {
  const HarmonicString e2{82.41, 5e-5}, a2{110.0, 6e-5}, e3{164.8, 5e-5};
  const Strum::PeakList peaks = Peaks({e2, a2});
  std::array<std::vector<Strum::StringOption>, 6> options;
  options[0].push_back(Strum::MakeOption(e2, peaks, kResolution));
  options[1].push_back(Strum::MakeOption(a2, peaks, kResolution));
  options[2].push_back(Strum::MakeOption(e3, peaks, kResolution));
  for (int s : {0, 1, 2}) EXPECT_TRUE(options[s].front().Plausible()) << s;
  EXPECT_EQ(options[0].front().missing, 0);
  const auto chosen = Strum::ChooseJointly(options, peaks);
  EXPECT_EQ(chosen[0], 0);
  EXPECT_EQ(chosen[1], 0);
  EXPECT_EQ(chosen[2], -1) << "E3 is E2's even partials";
  for (int s = 3; s < 6; ++s) EXPECT_EQ(chosen[s], -1);

  const Strum::PeakList highPassed = Peaks({e2, a2}, 0);  // E2's fundamental gone
  const Strum::StringOption low = Strum::MakeOption(e2, highPassed, kResolution);
  EXPECT_FALSE(low.fundamental);
  EXPECT_TRUE(low.Plausible());
  EXPECT_FALSE(Strum::MakeOption({41.2, 5e-5}, highPassed, kResolution).Plausible()) << "half of E2";
  std::array<std::vector<Strum::StringOption>, 6> lowOptions;
  lowOptions[0].push_back(low);
  lowOptions[1].push_back(Strum::MakeOption(a2, highPassed, kResolution));
  EXPECT_EQ(Strum::ChooseJointly(lowOptions, highPassed)[0], 0);
}

// The trap of one pitch made of two higher strings' partials: in drop D a
// faint peak at E2 and B3's and E4's partials (E2's third, fourth, sixth,
// eighth, ...) make an "E2" in the low D's range that explains more than a
// faint D2 with either of B3 or E4, so no change of one or two strings
// leaves it; the true three together explain more still, and are chosen.
TEST(JointChoice, LeavesAPitchMadeOfTwoHigherStringsForTheStringsThemselves) {
  const HarmonicString d2{73.42, 5e-5}, e4{329.63, 0}, b3{0.75 * 329.63, 0}, ghost{0.25 * 329.63, 0};
  Strum::PeakList peaks = Peaks({d2, b3, e4});
  peaks.peaks.push_back({ghost.Fundamental(), 5});
  std::sort(peaks.peaks.begin(), peaks.peaks.end(), [](const auto &a, const auto &b) { return a.hertz < b.hertz; });
  peaks.weights.clear();
  auto on = [](const HarmonicString &string, double f) {
    for (int n = 1; string.Partial(n) < 2000; ++n)
      if (std::abs(string.Partial(n) - f) < 0.5) return true;
    return false;
  };
  for (const auto &p : peaks.peaks)  // the low D's partials faint, B3's and E4's strong
    peaks.weights.push_back(on(b3, p.hertz) || on(e4, p.hertz) ? 40.0 : on(d2, p.hertz) ? 2.0 : 5.0);
  std::array<std::vector<Strum::StringOption>, 6> options;
  options[0].push_back(Strum::MakeOption(d2, peaks, kResolution));
  options[0].push_back(Strum::MakeOption(ghost, peaks, kResolution));
  options[4].push_back(Strum::MakeOption(b3, peaks, kResolution));
  options[5].push_back(Strum::MakeOption(e4, peaks, kResolution));
  ASSERT_TRUE(options[0][1].Plausible()) << "the ghost has a fundamental, a third and a fourth";
  const auto chosen = Strum::ChooseJointly(options, peaks);
  EXPECT_EQ(chosen[0], 0) << "the low D, not the E2 made of B3 and E4";
  EXPECT_EQ(chosen[4], 0);
  EXPECT_EQ(chosen[5], 0);
}

// The confidence of a fit: many partials standing high and agreeing are
// sure; a few weak ones less so; one read only at even partials (a higher
// string seen from half its pitch) or with partials that disagree is not
// sure; nothing read is 0.
TEST(JointChoice, ConfidenceWeighsEvidenceAgreementAndGhosts) {
  const HarmonicString e2{82.41, 5e-5};
  auto fit = [&](std::vector<int> numbers, double snr, double scatter) {
    Strum::StringFit f;
    f.model = e2;
    for (int n : numbers) f.partials.push_back({n, e2.Partial(n) + scatter * ((n % 2) ? 1 : -1), snr * snr});
    return f;
  };
  const double sure = Strum::FitConfidence(fit({1, 2, 3, 4, 5, 6, 7, 8}, 100, 0.001), kResolution);
  const double weak = Strum::FitConfidence(fit({1, 2}, 5, 0.001), kResolution);
  const double even = Strum::FitConfidence(fit({2, 4, 6, 8}, 100, 0.001), kResolution);
  const double scattered = Strum::FitConfidence(fit({1, 2, 3, 4, 5, 6, 7, 8}, 100, 0.8), kResolution);
  const double high = Strum::FitConfidence(fit({6, 7, 8, 9}, 100, 0.001), kResolution);
  EXPECT_GT(sure, 0.95);
  EXPECT_LT(weak, sure);
  EXPECT_LT(even, Strum::kLeastConfidence);
  EXPECT_LT(scattered, Strum::kLeastConfidence);
  EXPECT_LT(high, 0.6 * sure);
  EXPECT_EQ(Strum::FitConfidence(Strum::StringFit{}, kResolution), 0);
}

// Whether a fit stands clear of the floor at two of its first partials, with
// a quarter of its energy there: a low E's first partials do; one partial
// with a few faint ones far up does not, nor a comb whose energy lies at its
// 14th and 17th partials.
TEST(JointChoice, AStringStandsClearAtTwoOfItsFirstPartials) {
  const HarmonicString e2{82.41, 5e-5};
  auto fit = [&](std::vector<std::pair<int, double>> partials) {  // number, amplitude (floor 1)
    Strum::StringFit f;
    f.model = e2;
    for (auto [n, a] : partials) {
      f.partials.push_back({n, e2.Partial(n), std::min(a * a, 1e4)});
      f.amplitude[n] = a;
    }
    return f;
  };
  EXPECT_TRUE((Strum::StandsClear(fit({{1, 300}, {2, 200}, {3, 80}, {5, 20}}))));
  EXPECT_TRUE((Strum::StandsClear(fit({{2, 60}, {3, 40}, {4, 30}})))) << "a low E through a small microphone";
  EXPECT_FALSE((Strum::StandsClear(fit({{3, 400}, {12, 6}, {16, 5}})))) << "one partial standing clear";
  EXPECT_FALSE((Strum::StandsClear(fit({{2, 12}, {4, 12}, {14, 150}, {17, 70}})))) << "its energy far up";
  EXPECT_FALSE(Strum::StandsClear(Strum::StringFit{}));
}

// The shadowed-string search: E4 in tune lies on E2's fourth partial and
// has no partial to itself; struck 100 ms after E2 it adds at its partials
// a sound that E2's envelope does not explain, and is heard at its pitch.
// So too when E2's fit read none of its first six partials (through a
// small microphone): its envelope is then taken from its loudest partial
// apart. Not struck, or struck with E2 itself, it is not heard: nothing
// tells it.
TEST(JointChoice, ShadowedStringIsHeardByAnAttackOfItsOwn) {
  constexpr int kOnset = 4096, kCount = 4096 + 19000;
  const HarmonicString e2{82.41, 0}, e4{4 * 82.41, 0};
  auto render = [&](std::optional<int> e4At) {
    std::vector<int16_t> samples(kCount);
    for (int t = kOnset; t < kCount; ++t) {
      const double u = (t - kOnset) / 22050.0;
      double v = 0;
      for (int n = 1; n <= 10; ++n)
        v += 3000.0 / n * std::exp(-1.5 * u) * std::sin(2 * std::numbers::pi * e2.Partial(n) * u + n);
      if (e4At && t >= *e4At) {
        const double w = (t - *e4At) / 22050.0;
        for (int n = 1; n <= 4; ++n)
          v += 1500.0 / n * std::exp(-2 * w) * std::sin(2 * std::numbers::pi * e4.Partial(n) * w + 0.3 * n);
      }
      samples[t] = static_cast<int16_t>(std::lround(v));
    }
    return samples;
  };
  Strum::StringFit heard;
  heard.model = e2;
  for (int n = 1; n <= 10; ++n) heard.amplitude[n] = 3000.0 / n, heard.partials.push_back({n, e2.Partial(n), 1e4});
  const std::vector<const Strum::StringFit *> hiding{&heard};
  Strum::ShadowedString shadowed;
  Strum::StringFit fit;
  const int stretch = kOnset + 5512;

  std::vector<int16_t> later = render(kOnset + 2205);
  shadowed.SetRegion(later.data(), kCount, kOnset, stretch);
  ASSERT_TRUE(shadowed.Hear(e4, hiding, Strum::PartialMask(), &fit));
  EXPECT_NEAR(1200 * std::log2(fit.model.Fundamental() / e4.Fundamental()), 0, 0.5);
  EXPECT_GE(fit.Count(), 2);
  Strum::StringFit faint = heard;
  for (int n = 1; n <= 6; ++n) faint.amplitude[n] = 0;
  ASSERT_TRUE(shadowed.Hear(e4, {&faint}, Strum::PartialMask(), &fit));
  EXPECT_NEAR(1200 * std::log2(fit.model.Fundamental() / e4.Fundamental()), 0, 0.5);

  std::vector<int16_t> alone = render(std::nullopt);
  shadowed.SetRegion(alone.data(), kCount, kOnset, stretch);
  EXPECT_FALSE(shadowed.Hear(e4, hiding, Strum::PartialMask(), &fit));
  std::vector<int16_t> together = render(kOnset + 100);
  shadowed.SetRegion(together.data(), kCount, kOnset, stretch);
  EXPECT_FALSE(shadowed.Hear(e4, hiding, Strum::PartialMask(), &fit));
  shadowed.SetRegion(later.data(), kCount, kOnset, kOnset);  // no attacks to read
  EXPECT_FALSE(shadowed.Hear(e4, hiding, Strum::PartialMask(), &fit));
}

}  // namespace
