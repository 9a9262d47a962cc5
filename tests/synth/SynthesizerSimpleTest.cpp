// The tone generator: first samples, waveform halves, envelope, level checks,
// and whole tones compared with a second, deliberately plain rendering
// written straight from the tone's description, with its own copy of the
// envelope as published.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "general/AssertionRecord.h"
#include "general/CheckRecord.h"
#include "synth/PluckEnvelope.h"
#include "synth/SynthesizerSimple.h"

namespace {

// Set up as the tone player does.
SynthesizerSimple Tuned(float frequency, float rate = 22050.0f, bool square = true) {
  SynthesizerSimple synth;
  synth.sampleRate = rate;
  synth.frequency = frequency;
  synth.level = 1.0f;
  synth.square = square ? 1 : 0;
  return synth;
}

std::vector<short> Render(SynthesizerSimple &synth, int count) {
  std::vector<short> out(count, 0x7777);
  synth.Render16m(out.data(), count);
  return out;
}

// One sample at a chosen envelope position and phase.
int SampleAt(float position, float phase, bool square = true) {
  SynthesizerSimple synth = Tuned(440.0f, 22050.0f, square);
  synth.envelopePos = position;
  synth.phase = phase;
  return Render(synth, 1)[0];
}

constexpr float kSecondHalf = 4.0f;  // a phase in [π, 2π): square gives +envelope
constexpr float kNan = std::numeric_limits<float>::quiet_NaN(), kInf = std::numeric_limits<float>::infinity();

TEST(SynthesizerSimple, FreshToneStartsSilentAndBlocksJoinSeamlessly) {
  for (bool square : {true, false}) {
    SynthesizerSimple once = Tuned(196.0f, 22050.0f, square), twice = once;
    std::vector<short> joined = Render(twice, 4096);
    EXPECT_EQ(joined[0], 0) << "square " << square;
    EXPECT_NE(joined[1], 0) << "square " << square;
    const std::vector<short> second = Render(twice, 4096);
    joined.insert(joined.end(), second.begin(), second.end());
    EXPECT_EQ(Render(once, 8192), joined) << "square " << square;
    EXPECT_EQ(once.phase, twice.phase);
    EXPECT_EQ(once.envelopePos, twice.envelopePos);
    EXPECT_EQ(once.lastSample, twice.lastSample);
    EXPECT_EQ(once.lastSample, joined.back());
  }
}

TEST(SynthesizerSimple, SquareWaveIsNegativeThenPositiveInEveryPeriod) {
  const struct {
    float frequency, rate;
  } cases[] = {{82.40689f, 22050.0f}, {440.0f, 22050.0f}, {1318.51f, 22050.0f}, {440.0f, 8000.0f}};
  constexpr double pi = std::numbers::pi;
  for (const auto &c : cases) {
    SynthesizerSimple synth = Tuned(c.frequency, c.rate);
    const std::vector<short> out = Render(synth, 8192);
    // Compared with the exact phase; samples within a hair of a half-period
    // boundary may fall either way through single-precision accumulation.
    int negative = 0, positive = 0;
    for (int n = 1; n < 8192; ++n) {
      const double phase = std::fmod(n * (c.frequency * 2.0 * pi / c.rate), 2.0 * pi);
      if (std::fabs(phase - pi) < 0.02 || phase < 0.02 || phase > 2.0 * pi - 0.02) continue;
      ASSERT_NE(out[n], 0) << c.frequency << " Hz, sample " << n;
      ASSERT_EQ(out[n] < 0, phase < pi) << c.frequency << " Hz at " << c.rate << ", sample " << n;
      ++(phase < pi ? negative : positive);
    }
    EXPECT_NEAR(negative, positive, 8192 / 50) << c.frequency << " Hz";
  }
}

// At full envelope (position 4): sine is positive where square is negative,
// and rounds with floor(x + 0.5).
TEST(SynthesizerSimple, SineFollowsThePhaseAndRoundsHalfUp) {
  EXPECT_EQ(SampleAt(4.0f, 1.5707964f, true), -32767);
  EXPECT_EQ(SampleAt(4.0f, 1.5707964f, false), 32767);
  EXPECT_EQ(SampleAt(4.0f, 4.712389f, false), -32767);
  EXPECT_EQ(SampleAt(4.0f, 0.5235988f, false), 16384);  // 16383.5004
  EXPECT_EQ(SampleAt(4.0f, 3.8f, false), -20049);       // -20048.746
  EXPECT_EQ(SampleAt(4.0f, 3.1415927f, false), 0);      // a hair past π: -0.003
}

TEST(SynthesizerSimple, EnvelopeInterpolatesTruncatesAndIsSilentOutsideTheTable) {
  const struct {
    float position;
    int value;
  } cases[] = {{0.0f, 0},      {0.5f, 1800},  // 3601 / 2 = 1800.5, truncated
               {4.0f, 32767},  {5.0f, 32767},  {5.5f, 30256},  // halfway down to 27745
               {258.0f, 407},  {258.5f, 203},  // halfway from 407 to 0: 203.5, truncated
               {258.998f, 0},  {259.0f, 0},    {260.0f, 0},    {260.75f, 0},   {5000.0f, 0}, {3e9f, 0},
               {-0.5f, 0},     {-300.0f, 0},   {kNan, 0},      {kInf, 0},    {-kInf, 0}};
  for (const auto &c : cases) {
    EXPECT_EQ(SampleAt(c.position, kSecondHalf), c.value) << "position " << c.position;
    EXPECT_EQ(SampleAt(c.position, 0.0f), -c.value) << "position " << c.position;
  }
}

// A NaN frequency or a zero rate makes the phase non-finite; the sine must
// then be silent rather than an undefined float-to-int conversion.
TEST(SynthesizerSimple, NonFiniteSineIsSilent) {
  for (float rate : {22050.0f, 0.0f}) {
    SynthesizerSimple synth = Tuned(kNan, rate, false);
    synth.envelopePos = 4.0f;
    EXPECT_EQ(Render(synth, 16), std::vector<short>(16, 0)) << "rate " << rate;
    EXPECT_EQ(synth.lastSample, 0) << "rate " << rate;
  }
}

TEST(SynthesizerSimple, LevelIsOnlyValidatedAndOutOfRangeWritesNothing) {
  ScopedAssertionRecord record;
  SynthesizerSimple full = Tuned(440.0f), silent = Tuned(440.0f);
  silent.level = 0.0f;
  EXPECT_EQ(Render(silent, 2048), Render(full, 2048));
  EXPECT_FALSE(record.Raised());
  for (float level : {1.5f, -0.25f}) {
    SynthesizerSimple synth = Tuned(440.0f);
    synth.level = level;
    synth.phase = 1.25f;
    synth.envelopePos = 10.5f;
    synth.lastSample = 99;
    EXPECT_EQ(Render(synth, 64), std::vector<short>(64, 0x7777));
    EXPECT_EQ(synth.phase, 1.25f);
    EXPECT_EQ(synth.envelopePos, 10.5f);
    EXPECT_EQ(synth.lastSample, 99);
    EXPECT_EQ(LastCheck(record), Text(CheckSites::kLevelOutOfRange));
    record.Clear();
  }
}

// Summed in single precision, the position reaches 259 (from where the table
// is 0 for good) after 65 599 steps, 45 sooner than exact arithmetic would.
// Interpolating toward that 0 already truncates to 0 one sample earlier, so
// sample 65 598 is the first of the silent run.
TEST(SynthesizerSimple, EnvelopeRunsOutAfter65598SamplesAt22050) {
  SynthesizerSimple synth = Tuned(82.40689f);
  EXPECT_NE(Render(synth, 65598).back(), 0);  // sample 65 597
  EXPECT_LT(synth.envelopePos, 259.0f);
  EXPECT_EQ(Render(synth, 1)[0], 0);
  EXPECT_GE(synth.envelopePos, 259.0f);
  EXPECT_EQ(Render(synth, 4096), std::vector<short>(4096, 0));
}

// The envelope as published; each line starts at the index in its comment.
constexpr std::int32_t kListedEnvelope[] = {
    0, 3601, 26179, 29907, 32767, 32767, 27745, 24819, 24804, 24116,  // 0
    22943, 21722, 20892, 18947, 18530, 18675, 18546, 18054, 17707, 17508,  // 10
    17004, 16694, 16534, 16202, 15979, 15931, 15481, 15358, 14923, 14558,  // 20
    14166, 13964, 13699, 13083, 13056, 12902, 12785, 12872, 12673, 12673,  // 30
    13002, 13101, 13108, 13246, 13264, 13264, 13162, 13053, 12730, 12803,  // 40
    12281, 12191, 11820, 11690, 11449, 11666, 11826, 11826, 12058, 12293,  // 50
    12366, 12465, 12185, 12001, 11753, 11596, 11596, 11497, 11286, 11228,  // 60
    11017, 10818, 10782, 10562, 10924, 11147, 10927, 11114, 11096, 11352,  // 70
    11346, 11575, 11231, 10598, 10426, 10490, 9889, 9238, 8942, 8372,  // 80
    7992, 7826, 7820, 7935, 7914, 8056, 8170, 8451, 8674, 8674,  // 90
    8433, 8246, 8068, 7950, 7709, 7413, 7048, 6719, 6599, 6563,  // 100
    6382, 6225, 6225, 6134, 6210, 6234, 6234, 6050, 6014, 5944,  // 110
    5944, 5911, 5591, 5365, 5416, 5287, 4892, 4822, 4690, 4650,  // 120
    4774, 4611, 4864, 4765, 4849, 4813, 4813, 4674, 4608, 4433,  // 130
    4282, 4282, 3902, 3785, 3568, 3507, 3362, 3326, 3215, 3305,  // 140
    3305, 3230, 3344, 3423, 3390, 3332, 3263, 3242, 3242, 3058,  // 150
    2925, 2807, 2741, 2593, 2639, 2639, 2551, 2340, 2382, 2437,  // 160
    2500, 2397, 2515, 2699, 2617, 2614, 2455, 2449, 2379, 2207,  // 170
    2168, 2105, 1996, 1945, 1915, 1975, 1885, 1906, 2026, 2026,  // 180
    2020, 1954, 1954, 1978, 1815, 1803, 1785, 1785, 1812, 1686,  // 190
    1640, 1492, 1526, 1529, 1492, 1529, 1592, 1592, 1468, 1526,  // 200
    1499, 1423, 1486, 1505, 1318, 1441, 1354, 1218, 1305, 1305,  // 210
    1233, 995, 1188, 1097, 1158, 1106, 1170, 1091, 1088, 1088,  // 220
    1106, 1103, 1088, 874, 871, 871, 648, 600, 567, 560,  // 230
    446, 386, 452, 407, 570, 570, 364, 361, 419, 383,  // 240
    358, 413, 325, 404, 410, 413, 386, 328, 407, 0,  // 250
    0,  // 260
};

// Every single-precision step is worked in double, where a product or sum of
// two floats rounds back to float exactly as float arithmetic would; so this
// model cannot share an FMA contraction or excess-precision fault with the
// library.
class PlainTone {
 public:
  PlainTone(float rate, float frequency, bool square)
      : square_(square),
        envelopeStep_(Float((261.0 / rate) * (1.0 / 3.0))),
        phaseStep_(Float(frequency * 6.283185307179586 / rate)) {}

  short Next() {
    const int e = Envelope(position_);
    int s;
    if (square_)
      s = phase_ >= 3.141592653589793 ? e : -e;
    else
      s = static_cast<int>(std::floor(e * std::sin(double(phase_)) + 0.5));
    position_ = Float(double(position_) + double(envelopeStep_));
    phase_ = Float(double(phase_) + double(phaseStep_));
    if (phase_ >= 6.283185307179586) phase_ = Float(double(phase_) - double(6.2831855f));
    return static_cast<short>(s);
  }

 private:
  static float Float(double x) { return static_cast<float>(x); }

  int Envelope(float t) const {
    const int i = static_cast<int>(t);
    if (i >= 260) return 0;
    const int a = kListedEnvelope[i], b = kListedEnvelope[i + 1];
    const float fraction = Float(double(t) - double(i));
    const float scaled = Float(double(Float(b - a)) * double(fraction));
    return static_cast<int>(Float(double(scaled) + double(a)));
  }

  bool square_;
  float envelopeStep_, phaseStep_;
  float phase_ = 0.0f, position_ = 0.0f;
};

// The library's tone rendered in blocks, checked sample for sample against
// the plain model.
std::vector<short> RenderAndCompare(float rate, float frequency, bool square, int blocks, int blockSize) {
  SynthesizerSimple synth = Tuned(frequency, rate, square);
  std::vector<short> out(static_cast<size_t>(blocks) * blockSize);
  for (int b = 0; b < blocks; ++b) synth.Render16m(out.data() + static_cast<size_t>(b) * blockSize, blockSize);
  PlainTone plain(rate, frequency, square);
  size_t same = 0;
  while (same < out.size() && out[same] == plain.Next()) ++same;
  EXPECT_EQ(same, out.size()) << frequency << " Hz at " << rate << (square ? " square" : " sine");
  return out;
}

// FNV-1a over the samples as little-endian 16-bit words.
std::uint64_t Checksum(const std::vector<short> &samples) {
  std::uint64_t h = 0xcbf29ce484222325u;
  for (short s : samples) {
    const auto u = static_cast<std::uint16_t>(s);
    for (std::uint8_t byte : {std::uint8_t(u & 0xff), std::uint8_t(u >> 8)}) h = (h ^ byte) * 0x100000001b3u;
  }
  return h;
}

TEST(SynthesizerSimpleTone, EnvelopeTableMatchesTheListing) {
  ASSERT_EQ(std::size(kListedEnvelope), kPluckEnvelope.size());
  for (size_t i = 0; i < kPluckEnvelope.size(); ++i) EXPECT_EQ(kPluckEnvelope[i], kListedEnvelope[i]) << "entry " << i;
}

TEST(SynthesizerSimpleTone, MatchesThePlainRenderingSampleForSample) {
  struct Case { float rate, frequency; bool square; } cases[] = {
      {22050.0f, 82.40689f, true}, {22050.0f, 440.0f, false}, {22050.0f, 1975.5332f, true},
      {8000.0f, 1000.0f, true},    {44100.0f, 329.62756f, false}};
  for (const Case &c : cases) RenderAndCompare(c.rate, c.frequency, c.square, static_cast<int>(3.1 * c.rate) / 1000 + 1, 1000);
}

// The lowest string's reference tone as the player streams it: 17 blocks of
// 4096 samples at 22050 Hz.
TEST(SynthesizerSimpleTone, LowEToneAsStreamed) {
  const float frequency = static_cast<float>(440.0 * std::pow(2.0, (40 - 69) / 12.0));
  const std::vector<short> library = RenderAndCompare(22050.0f, frequency, true, 17, 4096);
  // The value both renderings agree on, kept so that a change shifting both
  // alike (build flags, the maths library) still shows.
  EXPECT_EQ(Checksum(library), 0x4497c5a89ce904cfu);
}

}  // namespace
