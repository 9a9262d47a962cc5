// The tools as JACK clients of a server of the test's own (jackd, dummy
// driver, 48000 Hz): the reference tone recorded from the port it joins is
// whole, and a steady tone read through JACK with --precise reads as the same
// tone read from a file, every reading of it. Real time, stepped by what the
// clients print.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "JackServer.h"
#include "RecordedSilences.h"
#include "TestFiles.h"
#include "ToolRun.h"

namespace {

constexpr const char *kClient = kJackTestClient;

class JackCli : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!*kClient) GTEST_SKIP() << "jack-test-client was not built (no libjack development files)";
    if (!jack.Ok()) GTEST_SKIP() << jack.Why();
  }
  JackServer jack;
};

// The frequencies the CSV rows read of a steady tone, in order, but for
// those within a quarter of a second of its first or last reading, whose
// windows hold its start or its end.
std::vector<double> Steady(const std::vector<std::string> &rows) {
  std::vector<std::pair<double, double>> pitched;  // time, Hz
  for (const std::string &row : rows) {
    double t, note, hz;
    int level;
    const char *fields = row.c_str() + row.find(',') + 1;  // after the file's name
    if (std::sscanf(fields, "%lf,%d,%lf,%lf", &t, &level, &note, &hz) == 4 && note > 0) pitched.emplace_back(t, hz);
  }
  std::vector<double> steady;
  for (const auto &[t, hz] : pitched)
    if (t >= pitched.front().first + 0.25 && t <= pitched.back().first - 0.25) steady.push_back(hz);
  return steady;
}

// drovane-tone joins the recorder's port, which gets the tone without a
// hole: no silence inside it, and the tool says nothing and ends 0.
TEST_F(JackCli, ToneReachesTheNamedPortWhole) {
  const std::string recorded = OutputPath("tone.wav");
  ChildProcess recorder(kClient, {"record", "--name", "rec", "--seconds", "4", "--out", recorded}, jack.Env(),
                        OutputPath("rec.err"));
  ASSERT_TRUE(recorder.ReadUntil("recording rec:in at 48000 Hz")) << Slurp(OutputPath("rec.err"));
  const Outcome tone = RunTool("env " + ShellWords(jack.Env()) + " " + DROVANE_TONE, "--string 1 --playback jack:rec:in");
  EXPECT_EQ(tone.status, 0) << tone.err;
  EXPECT_EQ(tone.err, "");
  EXPECT_EQ(recorder.Wait(), 0) << Slurp(OutputPath("rec.err"));
  ExpectTheToneWhole(recorded);
}

// A 240 Hz sine played into a port and read by drovane-analyze --capture
// jack:PORT --precise: every steady reading is the file's, to the
// thousandth of a hertz the CSV prints. A conversion of JACK's rate that
// drifted, or lost or repeated a block, would move readings.
TEST_F(JackCli, APreciseReadingThroughJackIsTheFilesEveryTime) {
  constexpr double kHz = 240, kAmplitude = 0.5, kSeconds = 4;
  std::vector<short> samples;
  for (int i = 0; i < JackServer::kRate * kSeconds; ++i)
    samples.push_back(static_cast<short>(std::lround(32767 * kAmplitude * std::sin(2 * M_PI * kHz * i / 48000))));
  const Outcome file = RunTool(DROVANE_ANALYZE, "--precise --csv " + WriteSound("sine.wav", samples, 48000, 1));
  ASSERT_EQ(file.status, 0) << file.err;
  const std::vector<double> fromFile = Steady(Lines(file.out));
  ASSERT_FALSE(fromFile.empty()) << file.out;
  const double expected = fromFile[fromFile.size() / 2];
  for (double hz : fromFile) ASSERT_EQ(hz, expected) << "the file reads steadily";

  ChildProcess player(kClient,
                      {"play", "--name", "sine", "--frequency", "240", "--amplitude", std::to_string(kAmplitude),
                       "--seconds", std::to_string(kSeconds)},
                      jack.Env(), OutputPath("play.err"));
  ASSERT_TRUE(player.ReadUntil("playing sine:out at 48000 Hz")) << Slurp(OutputPath("play.err"));
  ChildProcess live(DROVANE_ANALYZE, {"--capture", "jack:sine:out", "--precise", "--csv"}, jack.Env(),
                    OutputPath("live.err"));
  std::vector<std::string> rows;
  bool pitched = false;
  for (std::string line; live.ReadLine(&line);) {  // until the tone has passed
    rows.push_back(line);
    const bool silent = line.find(",0.000000000,") != std::string::npos;
    if (pitched && silent) break;
    pitched = pitched || (!silent && rows.size() > 1);
  }
  live.Signal(SIGINT);
  for (std::string line; live.ReadLine(&line);) rows.push_back(line);
  EXPECT_EQ(live.Wait(), 0) << Slurp(OutputPath("live.err"));
  EXPECT_EQ(player.Wait(), 0) << Slurp(OutputPath("play.err"));

  const std::vector<double> heard = Steady(rows);
  ASSERT_GE(heard.size(), fromFile.size() * 3 / 4) << "most of the tone was heard";
  const auto [low, high] = std::minmax_element(heard.begin(), heard.end());
  std::printf("%zu readings through JACK from %.3f to %.3f Hz; the file %.3f Hz\n", heard.size(), *low, *high,
              expected);
  size_t off = 0;
  for (size_t i = 0; i < heard.size(); ++i) {
    if (heard[i] != expected) std::printf("reading %zu of %zu: %.3f Hz\n", i, heard.size(), heard[i]);
    off += heard[i] != expected;
  }
  EXPECT_EQ(off, 0u) << "readings from " << *low << " to " << *high << " Hz";
  const std::string summary = Slurp(OutputPath("live.err"));
  EXPECT_NE(summary.find("; overruns: 0 (0.000 s of sound lost)\n"), std::string::npos) << summary;
}

}  // namespace
