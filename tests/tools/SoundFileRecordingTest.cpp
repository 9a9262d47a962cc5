#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <vector>

#include "TestFiles.h"
#include "wave/DemoRecording.h"
#include "wave/SoundFileRecording.h"

namespace {

std::vector<short> ReadAll(Recording *s, size_t chunk = 2205) {
  std::vector<short> all;
  std::vector<int16_t> buffer(chunk);
  while (size_t n = s->Read(buffer.data(), chunk)) all.insert(all.end(), buffer.begin(), buffer.begin() + n);
  return all;
}

std::unique_ptr<SoundFileRecording> Open(const std::string &path) {
  std::string error;
  auto s = SoundFileRecording::Open(path, &error);
  EXPECT_TRUE(s) << error;
  return s;
}

TEST(SoundFileRecording, NativeFormatPassesThroughBitForBit) {
  std::vector<short> data(50000);
  uint32_t x = 1;
  for (short &v : data) v = static_cast<short>((x = x * 1103515245 + 12345) >> 16);
  data[0] = -32768;
  data[1] = 32767;
  for (int format : {SF_FORMAT_WAV | SF_FORMAT_PCM_16, SF_FORMAT_FLAC | SF_FORMAT_PCM_16}) {
    auto s = Open(WriteSound("native.wav", data, 22050, 1, format));
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->PassThrough());
    EXPECT_EQ(ReadAll(s.get(), 777), data);
  }
}

TEST(SoundFileRecording, ChannelsAreAveragedRoundedAndKept) {
  const std::vector<short> stereo = {100, 201, -100, -201, 32767, 32767, -32768, -32767, 3, -4};
  auto s = Open(WriteSound("stereo.wav", stereo, 22050, 2));
  ASSERT_TRUE(s);
  EXPECT_FALSE(s->PassThrough());
  // 150.5 → 151, −150.5 → −150 (floor(x + 0.5)), −32767.5 → −32767, −0.5 → 0.
  EXPECT_EQ(ReadAll(s.get()), (std::vector<short>{151, -150, 32767, -32767, 0}));
}

TEST(SoundFileRecording, OtherRatesAreConvertedKeepingThePitch) {
  std::vector<short> tone(44100 * 2);
  for (size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<short>(10000 * std::sin(2 * M_PI * 196.0 * i / 44100));
  auto s = Open(WriteSound("rate44100.wav", tone, 44100, 1));
  ASSERT_TRUE(s);
  const std::vector<short> out = ReadAll(s.get(), 1000);
  EXPECT_NEAR(static_cast<double>(out.size()), 44100.0, 2);
  // Count upward zero crossings in the middle second: 196 per second.
  int crossings = 0;
  for (size_t i = 11026; i < 33076; ++i) crossings += out[i - 1] < 0 && out[i] >= 0;
  EXPECT_NEAR(crossings, 196, 1);
}

TEST(SoundFileRecording, FloatSamplesBeyondFullScaleAreClipped) {
  const std::string path = OutputPath("float.wav");
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE *f = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_TRUE(f);
  const float v[] = {0.5f, 1.5f, -1.5f, -1.0f, 0.25f / 32768};
  sf_write_float(f, v, 5);
  sf_close(f);
  auto s = Open(path);
  ASSERT_TRUE(s);
  EXPECT_EQ(ReadAll(s.get()), (std::vector<short>{16384, 32767, -32768, -32768, 0}));
}

// Values that are not numbers are silence before the channels are mixed or
// the rate converted: the file reads exactly as the same one with zeros there.
TEST(SoundFileRecording, NonNumbersAreHeardAsSilenceAndCounted) {
  for (int rate : {22050, 48000}) {
    for (int channels : {1, 2}) {
      std::vector<float> odd(static_cast<size_t>(rate) * channels), zeroed(odd.size());
      const float notNumbers[] = {NAN, INFINITY, -INFINITY};
      for (size_t i = 0; i < odd.size(); ++i) {
        zeroed[i] = i % 97 ? static_cast<float>(0.5 * std::sin(i * 0.07)) : 0.0f;
        odd[i] = i % 97 ? zeroed[i] : notNumbers[i % 3];
      }
      const int format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
      auto withOdd = Open(WriteSound("odd.wav", odd, rate, channels, format));
      auto withZeros = Open(WriteSound("zeroed.wav", zeroed, rate, channels, format));
      ASSERT_TRUE(withOdd && withZeros);
      const std::vector<short> heard = ReadAll(withOdd.get());
      EXPECT_EQ(heard, ReadAll(withZeros.get())) << rate << " Hz, " << channels << " channels";
      EXPECT_EQ(heard.size(), 22050u) << rate;
      EXPECT_EQ(withOdd->NonFiniteSamples(), (odd.size() + 96) / 97);
      EXPECT_EQ(withZeros->NonFiniteSamples(), 0u);
    }
  }
}

TEST(SoundFileRecording, UnreadableInputsAreExplained) {
  std::string error;
  EXPECT_FALSE(SoundFileRecording::Open(OutputPath("no-such-file.wav"), &error));
  EXPECT_NE(error.find("No such file"), std::string::npos) << error;
  const std::string text = OutputPath("text.wav");
  std::ofstream(text) << "this is not a sound file at all, just some words\n";
  EXPECT_FALSE(SoundFileRecording::Open(text, &error));
  EXPECT_NE(error.find("libsndfile"), std::string::npos) << error;
  const std::string empty = OutputPath("empty.wav");
  std::ofstream(empty).close();
  EXPECT_FALSE(SoundFileRecording::Open(empty, &error));
  EXPECT_NE(error.find("empty"), std::string::npos) << error;
  EXPECT_FALSE(SoundFileRecording::Open(WriteSound("zero-frames.wav", {}, 22050, 1), &error));
  EXPECT_NE(error.find("no audio"), std::string::npos) << error;
}

TEST(DemoRecording, SameEveryTimeInAnyChunkSize) {
  DemoRecording a, b;
  const std::vector<short> one = ReadAll(&a, 2205), two = ReadAll(&b, 313);
  EXPECT_EQ(one, two);
  EXPECT_EQ(one.size(), DemoRecording::TotalSamples());
  ASSERT_EQ(DemoRecording::Plucks().size(), 6u);
  const double strings[6] = {40, 45, 50, 55, 59, 64};
  for (int i = 0; i < 6; ++i) {
    const double off = DemoRecording::Plucks()[i].note - strings[i];
    EXPECT_GT(std::fabs(off), 0.02);  // out of tune…
    EXPECT_LT(std::fabs(off), 0.2);   // …but only a little
  }
  EXPECT_EQ(one[100], one[100]);
  EXPECT_LT(std::abs(one[100]), 100);  // silence before the first string
}

}  // namespace
