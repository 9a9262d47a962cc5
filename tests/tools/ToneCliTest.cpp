// drovane-tone run as a user runs it.
#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "ToolRun.h"
#include "synth/SynthesizerSimple.h"

namespace {

Outcome Tone(const std::string &args) { return RunTool(DROVANE_TONE, args); }

std::vector<short> ReadWav(const std::string &path, SF_INFO *info) {
  SNDFILE *f = sf_open(path.c_str(), SFM_READ, info);
  if (!f) return {};
  std::vector<short> samples(static_cast<size_t>(info->frames));
  sf_read_short(f, samples.data(), info->frames);
  sf_close(f);
  return samples;
}

TEST(ToneCli, LowEIsTheSynthesizersOwnToneBlockAfterBlock) {
  const std::string path = OutputPath("e2.wav");
  std::remove(path.c_str());
  const Outcome r = Tone("--string 1 --out " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty());
  SF_INFO info{};
  const std::vector<short> written = ReadWav(path, &info);
  EXPECT_EQ(info.samplerate, 22050);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  ASSERT_EQ(written.size(), 17u * 4096) << "17 blocks, no gap or overlap";

  SynthesizerSimple s;
  s.sampleRate = 22050.0f;
  s.frequency = static_cast<float>(440.0 * std::pow(2.0, (40 - 69) / 12.0));
  s.level = 1.0f;
  s.square = 1;
  std::vector<short> block(4096);
  for (size_t b = 0; b < 17; ++b) {
    s.Render16m(block.data(), 4096);
    ASSERT_TRUE(std::equal(block.begin(), block.end(), written.begin() + b * 4096)) << "block " << b;
  }
  EXPECT_NE(written[65597], 0);
  for (size_t i = 65599; i < written.size(); ++i) ASSERT_EQ(written[i], 0) << i;
}

TEST(ToneCli, HelpVersionAndUsageErrors) {
  Outcome r = Tone("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Usage: drovane-tone", 0), 0u);
  r = Tone("--version");
  EXPECT_EQ(r.out, "drovane-tone 1.0.0\n");
  for (const char *bad : {"", "--string 0", "--string 7", "--string 2.5", "--string", "--note 128", "--note -1",
                          "--note nan", "--out x.wav", "--string 1 --bogus"}) {
    r = Tone(bad);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_NE(r.err.find("--help"), std::string::npos) << bad;
    EXPECT_TRUE(r.out.empty()) << bad;
  }
}

TEST(ToneCli, UnwritableFileIsReported) {
  const Outcome r = Tone("--note 69 --out /nonexistent-dir/a.wav");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("drovane-tone: "), std::string::npos);
  EXPECT_NE(r.err.find("/nonexistent-dir/a.wav"), std::string::npos) << r.err;
}

// On a machine with sound the tone is played and this test is skipped.
TEST(ToneCli, WithoutAnOutputDeviceSaysSoAndFails) {
  const Outcome r = Tone("--string 5");
  if (r.status == 0) GTEST_SKIP() << "this machine has an audio output device";
  EXPECT_EQ(r.status, 1);
  // The sound library may have complained on its own first; ours is the last word.
  const size_t at = r.err.rfind("drovane-tone: no audio output device found");
  ASSERT_NE(at, std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\n', at), r.err.size() - 1) << r.err;
}

}  // namespace
