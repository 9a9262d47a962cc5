// The accuracy signals of the measuring tests, recorded at 44.1 and 48 kHz
// and converted as the analyser reads them, against the same signals
// recorded at the tuner's own 22050 Hz (which pass through untouched).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "measure/MeasureHarness.h"
#include "measure/TestSignals.h"
#include "wave/SoundFileRecording.h"

namespace {

// Readings of `audio`, recorded at `rate`, read back from a file.
std::vector<Measure::Result> ReadingsOf(const std::vector<int16_t> &audio, int rate) {
  const std::string path = WriteSound("accuracy-" + std::to_string(rate) + ".wav", audio, rate, 1);
  std::string error;
  const std::unique_ptr<SoundFileRecording> source = SoundFileRecording::Open(path, &error);
  if (!source) {
    ADD_FAILURE() << error;
    return {};
  }
  std::vector<int16_t> heard(2 * 22050 + 100);
  heard.resize(source->Read(heard.data(), heard.size()));
  return Record(heard);
}

struct Errors {
  double sum = 0, worst = 0;  // |reading − played| in cents
  double worstShift = 0;      // |reading − reading at 22050 Hz| in cents
  int count = 0;
};

TEST(ConvertedRateAccuracy, SixStringsReadAsAccuratelyAsAtTheTunersOwnRate) {
  for (bool pluck : {false, true}) {
    std::map<int, Errors> byRate;
    for (double string : {40, 45, 50, 55, 59, 64}) {
      for (double cents : {-30, -12, 0, 9, 25}) {
        const double hz = signals::Hertz(string, cents);
        std::vector<Measure::Result> own;
        for (int rate : {22050, 44100, 48000}) {
          const size_t n = 2 * static_cast<size_t>(rate);
          const std::vector<Measure::Result> r = ReadingsOf(
              pluck ? signals::Pluck(hz, 20000, n, 2.0, rate) : signals::Sine(hz, 8000, n, 0, rate), rate);
          ASSERT_EQ(r.size(), 44u - 16u) << rate;
          if (rate == 22050) own = r;
          Errors &e = byRate[rate];
          for (size_t i = 1; i < r.size(); ++i, ++e.count) {
            const double error = std::fabs((r[i].note - string) * 100 - cents);
            e.sum += error;
            e.worst = std::max(e.worst, error);
            e.worstShift = std::max(e.worstShift, std::fabs(r[i].note - own[i].note) * 100);
          }
        }
      }
    }
    for (const auto &[rate, e] : byRate) {
      std::printf("%-5s at %5d Hz: mean |error| %.3f cents, worst %.3f cents, worst shift from 22050 Hz %.5f cents\n",
                  pluck ? "pluck" : "sine", rate, e.sum / e.count, e.worst, e.worstShift);
      EXPECT_LT(e.worst, 5.0) << rate;
      EXPECT_LT(e.sum / e.count, byRate[22050].sum / e.count + 0.01) << rate;
      EXPECT_LT(e.worstShift, 0.01) << rate;
    }
  }
}

}  // namespace
