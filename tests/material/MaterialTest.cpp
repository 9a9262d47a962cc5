#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <filesystem>
#include <numbers>
#include <vector>

#include "Convolution.h"
#include "ModalString.h"
#include "Random.h"
#include "Room.h"
#include "SoundFont.h"
#include "StringModel.h"
#include "Take.h"
#include "WavFile.h"

namespace {

constexpr double kRate = 22050;

double Cents(double a, double b) { return 1200 * std::log2(a / b); }

// The strongest frequency near `guess` in x[from…to), by a Hann-windowed
// Fourier sum searched to a thousandth of a hertz.
double PeakNear(const std::vector<double> &x, size_t from, size_t to, double guess) {
  auto magnitude = [&](double f) {
    std::complex<double> sum;
    for (size_t i = from; i < to; ++i) {
      const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * (i - from) / (to - from));
      sum += w * x[i] * std::polar(1.0, -2 * std::numbers::pi * f * i / kRate);
    }
    return std::abs(sum);
  };
  double best = guess, step = 0.5;
  for (; step > 1e-3; step *= 0.5)
    for (double f : {best - step, best + step})
      if (magnitude(f) > magnitude(best)) best = f;
  return best;
}

double Energy(const std::vector<double> &x, size_t from, size_t to) {
  double e = 0;
  for (size_t i = from; i < std::min(to, x.size()); ++i) e += x[i] * x[i];
  return e;
}

// The model's strings are not the analyser's: their modes leave the stiff
// series, yet their first partial settles exactly on the note asked for
// (a bass's B0 and a guitar's E4 alike), sharp by some cents at the attack;
// a muted string has died 40 dB within a fifth of a second.
TEST(Material, ModelStringsSettleOnTheirNoteAndDifferFromTheStiffSeries) {
  for (const auto &[midi, kind] : {std::pair{23, material::StringKind::kBass}, {64, material::StringKind::kGuitar}}) {
    SCOPED_TRACE(midi);
    const material::Score score = material::MakeNote(midi, 13, 4.0);
    const material::Rendered r = material::StringModel(kind, 9).Render(score);
    const double truth = 440 * std::pow(2.0, (midi + 0.13 - 69) / 12);
    EXPECT_NEAR(r.hertz[0], truth, 1e-9);
    const std::vector<double> &lone = r.alone[0];
    EXPECT_NEAR(Cents(PeakNear(lone, 2 * 22050, 4 * 22050 - 10, truth), truth), 0, 0.5);
    if (midi > 40) {
      EXPECT_GT(Cents(PeakNear(lone, 6615, 6615 + 4096, truth), truth), 0.3);  // the glide
    }
    material::Body body = material::Body::Guitar(9);
    const material::ModalString string(score.plucks[0], 440, kind, body, 3);
    const auto &modes = string.Modes();
    ASSERT_GT(modes.size(), 10u);
    // f_n/n against f1·√((1 + B n²)/(1 + B)) with the model's own B.
    double worst = 0;
    for (size_t n = 1; n <= modes.size(); ++n) {
      const double b = string.Inharmonicity(), stiff = n * modes[0].hertz * std::sqrt((1 + b * n * n) / (1 + b));
      worst = std::max(worst, std::abs(Cents(modes[n - 1].hertz, stiff)));
    }
    EXPECT_GT(worst, 0.05);
  }
  material::Score muted = material::MakeNote(45, 0, 1.0);
  muted.plucks[0].muted = true;
  const material::Rendered thud = material::StringModel(material::StringKind::kGuitar, 4).Render(muted);
  const size_t at = static_cast<size_t>(0.3 * kRate);
  EXPECT_LT(Energy(thud.alone[0], at + 4410, at + 6615), 1e-4 * Energy(thud.alone[0], at, at + 1102));
}

// Strums of each kind: strings in the kind's order and spacing, muted as
// planned, the same for the same seed.
TEST(Material, StrumsFollowTheirKind) {
  material::StrumPlan plan;
  for (material::StrumKind kind : {material::StrumKind::kDown, material::StrumKind::kUp, material::StrumKind::kFast,
                                   material::StrumKind::kArpeggio, material::StrumKind::kAlone}) {
    plan.kind = kind;
    SCOPED_TRACE(material::KindName(kind));
    const material::Score score = material::MakeStrums(plan, 11);
    ASSERT_EQ(score.plucks.size(), 36u);
    for (int k = 0; k < plan.strums; ++k) {
      const material::Pluck *first = &score.plucks[6 * k], *last = &score.plucks[6 * k + 5];
      EXPECT_NEAR(first->time, plan.lead + k * plan.spacing, 1e-12);
      const double spread = last->time - first->time;
      int ringing = 0;
      for (int j = 0; j < 6; ++j) ringing += !score.plucks[6 * k + j].muted;
      if (kind == material::StrumKind::kDown) {
        EXPECT_EQ(first->string, 0);
        EXPECT_GE(spread, 0.1);
        EXPECT_LE(spread, 0.2);
      }
      if (kind == material::StrumKind::kUp) {
        EXPECT_EQ(first->string, 5);
        EXPECT_LE(spread, 0.175);
      }
      if (kind == material::StrumKind::kFast) {
        EXPECT_LE(spread, 0.010);
      }
      if (kind == material::StrumKind::kArpeggio) {
        EXPECT_GE(spread, 0.3);
        EXPECT_LE(spread, 0.75);
      }
      if (kind == material::StrumKind::kAlone) {
        EXPECT_EQ(ringing, 1 + k % 2);
      } else {
        EXPECT_EQ(ringing, k % 3 == 2 ? 5 : 6);
      }
    }
    const material::Score again = material::MakeStrums(plan, 11);
    EXPECT_EQ(again.plucks.back().time, score.plucks.back().time);
  }
}

// The room: its impulse response starts with the direct sound and holds
// the reverberation 8 dB under it; the capsule's high-pass takes 21 dB off
// E2's fundamental and leaves 1 kHz; hum and noise come at their levels.
TEST(Material, RoomHasItsReverberationHighPassHumAndNoise) {
  const material::RoomSettings room = material::TuningRoom();
  const std::vector<double> ir = material::ImpulseResponse(room);
  EXPECT_EQ(ir[0], 1);
  EXPECT_NEAR(10 * std::log10(Energy(ir, 1, ir.size())), -8, 0.01);
  auto tone = [](double hertz) {
    std::vector<double> x(22050);
    for (size_t i = 0; i < x.size(); ++i) x[i] = std::sin(2 * std::numbers::pi * hertz * i / kRate);
    return x;
  };
  for (const auto &[hertz, db] : {std::pair{82.41, -20.8}, {1000.0, 0.0}}) {
    std::vector<double> x = tone(hertz);
    material::HighPass(150, &x);
    EXPECT_NEAR(10 * std::log10(Energy(x, 11025, 22050) / Energy(tone(hertz), 11025, 22050)), db, 0.2) << hertz;
  }
  std::vector<double> quiet(5 * 22050, 0.0), note = tone(440);
  std::copy(note.begin(), note.end(), quiet.begin());
  material::RoomSettings dry = room;
  dry.reverbDb = -200, dry.highPass = 0;
  material::ApplyRoom(dry, {0.0}, &quiet);
  // After the note only hum and noise: -40 and -25 dB of the note.
  const double rest = Energy(quiet, 22050, 5 * 22050) / (4 * Energy(note, 0, 22050));
  EXPECT_NEAR(10 * std::log10(rest), 10 * std::log10(std::pow(10, -4.0) + std::pow(10, -2.5)), 0.5);
  const double hum = PeakNear(quiet, 22050, 5 * 22050, 50.3);
  EXPECT_NEAR(hum, 50, 0.05);
}

// Overlap-add convolution against the plain sum; a take written and read
// back, and refused once cut short; a sound font's MIDI file, whole and for
// one string.
TEST(Material, ConvolvesWritesTakesAndMidiFiles) {
  material::Random r(5);
  std::vector<double> x(3000), h(700);
  for (double &v : x) v = r.Normal();
  for (double &v : h) v = r.Normal();
  const std::vector<double> y = material::Convolve(x, h);
  for (size_t i : {0u, 1u, 699u, 1500u, 2999u}) {
    double sum = 0;
    for (size_t k = 0; k <= i && k < h.size(); ++k) sum += h[k] * x[i - k];
    EXPECT_NEAR(y[i], sum, 1e-9) << i;
  }
  material::StrumPlan plan;
  plan.strums = 2;
  plan.detune = 20;
  material::Take take;
  std::string error;
  ASSERT_TRUE(material::MakeTake({}, material::MakeStrums(plan, 3), material::TuningRoom(), "", &take, &error));
  const std::string folder = testing::TempDir();
  ASSERT_TRUE(material::WriteTake(folder, "take", take, &error)) << error;
  material::Take back;
  ASSERT_TRUE(material::ReadTake(folder, "take", &back));
  EXPECT_EQ(back.heard, take.heard);
  EXPECT_EQ(back.alone, take.alone);
  ASSERT_EQ(back.score.plucks.size(), take.score.plucks.size());
  EXPECT_NEAR(back.score.plucks[7].cents, take.score.plucks[7].cents, 1e-4);
  EXPECT_NEAR(back.hertz[7], take.hertz[7], 1e-6);
  // A file cut short, as by a render stopped while it wrote, is no take.
  const std::string alone = folder + "/take-alone-2.wav";
  std::filesystem::resize_file(alone, std::filesystem::file_size(alone) - 2);
  EXPECT_FALSE(material::ReadTake(folder, "take", &back));

  const std::vector<unsigned char> whole = material::MidiFile(take.score, material::kSteelGuitar);
  const std::vector<unsigned char> one = material::MidiFile(take.score, material::kSteelGuitar, 2);
  ASSERT_GT(whole.size(), 22u);
  EXPECT_EQ(std::string(whole.begin(), whole.begin() + 4), "MThd");
  const size_t length = whole[18] << 24 | whole[19] << 16 | whole[20] << 8 | whole[21];
  EXPECT_EQ(length + 22, whole.size());
  // Note-ons per channel, read event by event.
  auto noteOns = [](const std::vector<unsigned char> &file) {
    std::vector<int> count(16);
    for (size_t i = 22; i < file.size();) {
      while (file[i++] & 0x80) {}  // the delta time
      const unsigned char status = file[i++];
      if (status == 0xFF) {
        i += 1 + file[i + 1] + 1;
        continue;
      }
      if ((status & 0xF0) == 0x90 && file[i + 1] > 0) ++count[status & 0x0F];
      i += (status & 0xF0) == 0xC0 ? 1 : 2;
    }
    return count;
  };
  const std::vector<int> all = noteOns(whole), only = noteOns(one);
  for (int c = 0; c < 16; ++c) EXPECT_EQ(only[c], c == 2 ? all[2] : 0) << c;
  EXPECT_EQ(all[2] + all[12], 2);  // string 3 struck twice, ringing or muted
}

}  // namespace
