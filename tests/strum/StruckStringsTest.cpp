#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "measure/MidiTypes.h"
#include "strum/StruckStrings.h"

namespace {

using Strum::StruckStrings;

constexpr int kWindow = StruckStrings::kWindow;
constexpr double kRate = 22050;

// A plucked string of eight partials, decaying, struck at sample `at` (it
// sounds from then on); `phase` turns its partials.
void AddString(std::vector<double> *sound, double note, double cents, int at, double amplitude, double phase = 0) {
  const double f = FrequencyFromNote(note + cents / 100, 440);
  for (size_t t = static_cast<size_t>(std::max(0, at)); t < sound->size(); ++t) {
    const double time = (static_cast<double>(t) - at) / kRate;
    for (int n = 1; n <= 8; ++n)
      (*sound)[t] += amplitude / n * std::exp(-time * (1 + 0.3 * n)) *
                     std::cos(2 * std::numbers::pi * n * f * time + phase * n);
  }
}

std::vector<int16_t> Samples(const std::vector<double> &sound) {
  std::vector<int16_t> out(sound.size());
  for (size_t t = 0; t < sound.size(); ++t) out[t] = static_cast<int16_t>(std::lround(sound[t]));
  return out;
}

// The standard guitar, weighed around an attack at 2·kWindow (two windows
// before it, one after): a string struck while another rings; the string
// ringing struck again as loud as it rang, in another phase; strings that
// only ring on, with the room's echo of them; B3 struck alone, whose every
// partial lies on E2's and A2's; a string struck 35 cents off.
TEST(StruckStrings, TellsAStringStruckFromOnesRingingOnByTheirOwnPartials) {
  StruckStrings struck{Measure::Tuning{}, 440};
  EXPECT_TRUE(struck.Telling(0) && struck.Telling(1) && struck.Telling(2) && struck.Telling(3));
  EXPECT_FALSE(struck.Telling(4) || struck.Telling(5)) << "B3 and E4 lie on E2's and A2's partials";
  const int attack = 2 * kWindow;
  auto weigh = [&](const std::vector<double> &sound) { struck.Compare(Samples(sound).data()); };

  std::vector<double> sound(3 * kWindow);
  AddString(&sound, 40, 0, -4000, 4000);
  AddString(&sound, 45, 0, attack, 3000);
  weigh(sound);
  EXPECT_TRUE(struck.Struck(1) && struck.Lately(1)) << "A2 struck";
  EXPECT_FALSE(struck.Struck(0) || struck.Lately(0)) << "E2 rings on";
  EXPECT_FALSE(struck.Struck(2) || struck.Struck(3)) << "D3 and G3 are silent: A2's leakage is not theirs";

  // E2 struck again as loud as it rang, its vibration turned half a turn.
  sound.assign(3 * kWindow, 0);
  AddString(&sound, 40, 0, -4000, 4000);
  for (int t = attack; t < 3 * kWindow; ++t) sound[t] = -sound[t];
  weigh(sound);
  EXPECT_LT(struck.Rise(0), StruckStrings::kRise) << "its energy hardly rises";
  EXPECT_FALSE(struck.Struck(0));
  EXPECT_TRUE(struck.Lately(0)) << "but what it sounds is new";

  // Ringing on, with an echo 40 ms later 8 dB down: nothing struck.
  sound.assign(3 * kWindow, 0);
  for (double echo : {1.0, 0.4}) {
    const int delay = echo < 1 ? static_cast<int>(0.04 * kRate) : 0;
    AddString(&sound, 40, 0, -6000 + delay, 4000 * echo);
    AddString(&sound, 45, 10, -5000 + delay, 3000 * echo);
    AddString(&sound, 50, -10, -4500 + delay, 2500 * echo);
  }
  weigh(sound);
  for (int s = 0; s < 6; ++s) EXPECT_FALSE(struck.Struck(s) || struck.Lately(s)) << "string " << s + 1;

  // B3 struck alone over a ringing E2: B3 cannot be told, and E2 is not struck by it.
  sound.assign(3 * kWindow, 0);
  AddString(&sound, 40, 0, -4000, 4000);
  AddString(&sound, 59, 0, attack, 4000);
  weigh(sound);
  EXPECT_FALSE(struck.Struck(0) || struck.Lately(0));
  EXPECT_FALSE(struck.Struck(4));

  // G3 struck 35 cents sharp beside a ringing D3 in tune.
  sound.assign(3 * kWindow, 0);
  AddString(&sound, 50, 0, -3000, 3000);
  AddString(&sound, 55, 35, attack, 2000);
  weigh(sound);
  EXPECT_TRUE(struck.Struck(3));
  EXPECT_FALSE(struck.Struck(2) || struck.Lately(2));
}

}  // namespace
