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

TEST(ToneCli, LowEIsTheSynthesizersOwnToneBlockAfterBlock) {
  const std::string path = OutputPath("e2.wav");
  std::remove(path.c_str());
  const Outcome r = Tone("--string 1 --out " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty());
  SF_INFO info{};
  const std::vector<short> written = ReadSound(path, &info);
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

// What a user, a script and a careful tester may do. Each case gives the
// exit status, what stdout must hold (none: nothing) and what stderr must
// say (none: nothing). "left" on stdout means a file was left: a file that
// reached its size limit keeps the samples that fitted, finalised.
TEST(ToneCli, WritesOptionsAndNotesAreHandledAsMeant) {
  const std::string t = DROVANE_TONE, wav = OutputPath("tone-cases.wav"), capped = OutputPath("capped.wav");
  const std::string leftBehind = "; s=$?; [ -e " + wav + " ] && echo left; exit $s";
  const struct {
    const char *what;
    std::string script;
    int status;
    std::string out, err;
  } cases[] = {
      {"a disk that fills", "rm -f " + capped + "; (trap '' XFSZ; ulimit -f 64; exec " + t + " --note 69 --out " +
                                capped + "); s=$?; [ -e " + capped + " ] && echo left; exit $s",
       1, "left", "cannot write '" + capped + "': File too large; it keeps the first 1.49 s (32746 samples) played\n"},
      {"/dev/full", t + " --string 2 --out /dev/full", 1, "", "cannot write '/dev/full': No space left on device\n"},
      {"an escape in the name", t + " --string 2 --out $'/nonexistent-dir/\\e[2J.wav'", 1, "",
       "drovane-tone: cannot write '/nonexistent-dir/\\x1b[2J.wav': "},
      {"help to /dev/full", t + " --help >/dev/full", 1, "", "drovane-tone: write error: No space left on device"},
      {"-h", t + " -h", 0, "Usage: drovane-tone", ""},
      {"-V", t + " -V", 0, "drovane-tone 1.0.0", ""},
      {"a fraction", "rm -f " + wav + "; " + t + " --note 45.5 --out " + wav + leftBehind, 0, "left", ""},
      {"just below Nyquist", t + " --note 124.76 --out " + wav, 0, "", ""},
      {"at Nyquist", t + " --note 124.766", 2, "", "invalid value '124.766' for --note (expected a MIDI note"},
      {"above Nyquist", t + " --note 127", 2, "", "fundamental lies below 11025 Hz"},
  };
  for (const auto &c : cases) {
    const Outcome r = RunScript(c.script);
    EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
    EXPECT_EQ(c.out.empty(), r.out.empty()) << c.what << ": " << r.out;
    EXPECT_NE(r.out.find(c.out), std::string::npos) << c.what << ": " << r.out;
    EXPECT_EQ(c.err.empty(), r.err.empty()) << c.what << ": " << r.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << c.what << ": " << r.err;
  }
  SF_INFO info{};
  EXPECT_EQ(ReadSound(capped, &info).size(), 32746u) << "the 64 KiB the limit allowed, less the header";
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  const std::string help = Tone("--help").out;
  for (const char *said : {"fraction", "E-2 A-2 D-1 G-1 B-1 E1", "E2 A2 D3 G3 B3 E4", "C1", "C4", "A1", "A4"})
    EXPECT_NE(help.find(said), std::string::npos) << said;
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
