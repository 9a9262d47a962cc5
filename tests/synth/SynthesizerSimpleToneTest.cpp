// Whole tones compared with a second, deliberately plain rendering written
// straight from the tone's description, with its own copy of the envelope as
// published (index ranges and values).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "synth/PluckEnvelope.h"
#include "synth/SynthesizerSimple.h"

namespace {

constexpr const char *kEnvelopeListing = R"(
  0-19: 0, 3601, 26179, 29907, 32767, 32767, 27745, 24819, 24804, 24116,
        22943, 21722, 20892, 18947, 18530, 18675, 18546, 18054, 17707, 17508;
  20-39: 17004, 16694, 16534, 16202, 15979, 15931, 15481, 15358, 14923, 14558,
        14166, 13964, 13699, 13083, 13056, 12902, 12785, 12872, 12673, 12673;
  40-59: 13002, 13101, 13108, 13246, 13264, 13264, 13162, 13053, 12730, 12803,
        12281, 12191, 11820, 11690, 11449, 11666, 11826, 11826, 12058, 12293;
  60-79: 12366, 12465, 12185, 12001, 11753, 11596, 11596, 11497, 11286, 11228,
        11017, 10818, 10782, 10562, 10924, 11147, 10927, 11114, 11096, 11352;
  80-99: 11346, 11575, 11231, 10598, 10426, 10490, 9889, 9238, 8942, 8372,
        7992, 7826, 7820, 7935, 7914, 8056, 8170, 8451, 8674, 8674;
  100-119: 8433, 8246, 8068, 7950, 7709, 7413, 7048, 6719, 6599, 6563,
        6382, 6225, 6225, 6134, 6210, 6234, 6234, 6050, 6014, 5944;
  120-139: 5944, 5911, 5591, 5365, 5416, 5287, 4892, 4822, 4690, 4650,
        4774, 4611, 4864, 4765, 4849, 4813, 4813, 4674, 4608, 4433;
  140-159: 4282, 4282, 3902, 3785, 3568, 3507, 3362, 3326, 3215, 3305,
        3305, 3230, 3344, 3423, 3390, 3332, 3263, 3242, 3242, 3058;
  160-179: 2925, 2807, 2741, 2593, 2639, 2639, 2551, 2340, 2382, 2437,
        2500, 2397, 2515, 2699, 2617, 2614, 2455, 2449, 2379, 2207;
  180-199: 2168, 2105, 1996, 1945, 1915, 1975, 1885, 1906, 2026, 2026,
        2020, 1954, 1954, 1978, 1815, 1803, 1785, 1785, 1812, 1686;
  200-219: 1640, 1492, 1526, 1529, 1492, 1529, 1592, 1592, 1468, 1526,
        1499, 1423, 1486, 1505, 1318, 1441, 1354, 1218, 1305, 1305;
  220-239: 1233, 995, 1188, 1097, 1158, 1106, 1170, 1091, 1088, 1088,
        1106, 1103, 1088, 874, 871, 871, 648, 600, 567, 560;
  240-259: 446, 386, 452, 407, 570, 570, 364, 361, 419, 383,
        358, 413, 325, 404, 410, 413, 386, 328, 407, 0;
  260: 0
)";

// Reads "first-last: v, v, …;" groups and checks each holds as many values as
// its range says.
std::vector<std::int32_t> ParseEnvelopeListing() {
  std::vector<std::int32_t> values;
  std::istringstream lines(kEnvelopeListing);
  std::string group;
  while (std::getline(lines, group, ';')) {
    const auto colon = group.find(':');
    if (colon == std::string::npos) continue;
    const std::string range = group.substr(0, colon);
    const auto dash = range.find('-');
    const int first = std::stoi(range.substr(0, dash));
    const int last = dash == std::string::npos ? first : std::stoi(range.substr(dash + 1));
    std::istringstream numbers(group.substr(colon + 1));
    std::string number;
    int count = 0;
    while (std::getline(numbers, number, ',')) {
      values.push_back(std::stoi(number));
      ++count;
    }
    EXPECT_EQ(first, static_cast<int>(values.size()) - count);
    EXPECT_EQ(count, last - first + 1) << "group " << first;
  }
  return values;
}

// Every single-precision step is worked in double, where a product or sum of
// two floats rounds back to float exactly as float arithmetic would; so this
// model cannot share an FMA contraction or excess-precision fault with the
// library.
class PlainTone {
 public:
  PlainTone(float rate, float frequency, bool square)
      : table_(ParseEnvelopeListing()),
        square_(square),
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
    const int a = table_[i], b = table_[i + 1];
    const float fraction = Float(double(t) - double(i));
    const float scaled = Float(double(Float(b - a)) * double(fraction));
    return static_cast<int>(Float(double(scaled) + double(a)));
  }

  std::vector<std::int32_t> table_;
  bool square_;
  float envelopeStep_, phaseStep_;
  float phase_ = 0.0f, position_ = 0.0f;
};

std::vector<short> RenderBlocks(float rate, float frequency, bool square, int blocks, int blockSize) {
  SynthesizerSimple synth;
  synth.sampleRate = rate;
  synth.frequency = frequency;
  synth.level = 1.0f;
  synth.square = square ? 1 : 0;
  std::vector<short> out(static_cast<size_t>(blocks) * blockSize);
  for (int b = 0; b < blocks; ++b) synth.Render16m(out.data() + static_cast<size_t>(b) * blockSize, blockSize);
  return out;
}

std::vector<short> RenderPlain(float rate, float frequency, bool square, size_t count) {
  PlainTone tone(rate, frequency, square);
  std::vector<short> out(count);
  for (short &s : out) s = tone.Next();
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

size_t FirstDifference(const std::vector<short> &a, const std::vector<short> &b) {
  size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return n;
}

TEST(SynthesizerSimpleTone, EnvelopeTableMatchesTheListing) {
  const std::vector<std::int32_t> listed = ParseEnvelopeListing();
  ASSERT_EQ(listed.size(), kPluckEnvelope.size());
  for (size_t i = 0; i < listed.size(); ++i) EXPECT_EQ(kPluckEnvelope[i], listed[i]) << "entry " << i;
}

TEST(SynthesizerSimpleTone, MatchesThePlainRenderingSampleForSample) {
  struct Case { float rate, frequency; bool square; } cases[] = {
      {22050.0f, 82.40689f, true}, {22050.0f, 440.0f, false}, {22050.0f, 1975.5332f, true},
      {8000.0f, 1000.0f, true},    {44100.0f, 329.62756f, false}};
  for (const Case &c : cases) {
    const int blocks = static_cast<int>(3.1 * c.rate) / 1000 + 1;
    const std::vector<short> library = RenderBlocks(c.rate, c.frequency, c.square, blocks, 1000);
    const std::vector<short> plain = RenderPlain(c.rate, c.frequency, c.square, library.size());
    EXPECT_EQ(FirstDifference(library, plain), library.size())
        << c.frequency << " Hz at " << c.rate << (c.square ? " square" : " sine");
  }
}

// The lowest string's reference tone as the player streams it: 17 blocks of
// 4096 samples at 22050 Hz.
TEST(SynthesizerSimpleTone, LowEToneAsStreamed) {
  const float frequency = static_cast<float>(440.0 * std::pow(2.0, (40 - 69) / 12.0));
  const std::vector<short> library = RenderBlocks(22050.0f, frequency, true, 17, 4096);
  const std::vector<short> plain = RenderPlain(22050.0f, frequency, true, library.size());
  ASSERT_EQ(FirstDifference(library, plain), library.size());
  // The value both renderings agree on, kept so that a change shifting both
  // alike (build flags, the maths library) still shows.
  EXPECT_EQ(Checksum(library), 0x4497c5a89ce904cfu);
}

}  // namespace
