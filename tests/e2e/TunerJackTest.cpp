// The tuner as a JACK client of a server of the test's own (jackd, dummy
// driver, 48000 Hz): a tone played into its input port reads as from a file
// of the same tone, its reference tone is recorded from its output port,
// and the server stopped and started again is a loss and a return. Real
// time, stepped by what the tuner's trace shows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "JackServer.h"
#include "LiveTuner.h"

namespace {

using namespace tuner;

#ifdef JACK_TEST_CLIENT
constexpr const char *kClient = JACK_TEST_CLIENT;
#else
constexpr const char *kClient = "";
#endif

// A G3 7 cents sharp as the test client plays it, 2 s at the server's rate.
constexpr double kHz = 196.0 * 1.004052;  // 2^(7/1200)
constexpr double kAmplitude = 0.3;
constexpr double kSeconds = 2;

std::string ToneFile() {
  std::vector<short> samples;
  for (int i = 0; i < JackServer::kRate * kSeconds; ++i)
    samples.push_back(
        static_cast<short>(std::lround(32767 * kAmplitude * std::sin(2 * M_PI * kHz * i / JackServer::kRate))));
  return WriteSound("g3.wav", samples, JackServer::kRate, 1);
}

ChildProcess PlayInto(const JackServer &jack, const std::string &port) {
  return ChildProcess(kClient,
                      {"play", "--frequency", std::to_string(kHz), "--amplitude", std::to_string(kAmplitude),
                       "--seconds", std::to_string(kSeconds), "--connect", port},
                      jack.Env(), OutputPath("play.err"));
}

TEST(TunerJack, HearsATonePlayedIntoItsPortPlaysItsOwnAndComesBackWithTheServer) {
  if (!*kClient) GTEST_SKIP() << "jack-test-client was not built (no libjack development files)";
  JackServer jack;
  if (!jack.Ok()) GTEST_SKIP() << jack.Why();
  const double file = HeardInFile(ToneFile(), "--precise");
  ASSERT_NEAR(Cents(file, 196), 7, 0.5);

  // The recorder takes the tuner's output as soon as its port appears; the
  // tuner plays the low E string at 1 s on its clock, for 3 s.
  const std::string recorded = OutputPath("played.wav");
  ChildProcess recorder(kClient, {"record", "--seconds", "6", "--out", recorded, "--connect", "drovane-playback:out"},
                        jack.Env(), OutputPath("record.err"));
  LiveTuner tuner({"--screen", "headless", "--capture", "jack", "--playback", "jack", "--precise", "--script",
                   Script("1 key 1\n")},
                  jack.Env());
  ASSERT_TRUE(tuner.UntilOn()) << tuner.Err();
  // Listed where SDL finds nothing: the server's ports and the tuner's own.
  const Outcome listed = RunTool("env PULSE_SERVER=unix:/nonexistent SDL_AUDIODRIVER=pulseaudio " +
                                     ShellWords(jack.Env()) + " " + DROVANE_TUNER,
                                 "--list-devices");
  EXPECT_EQ(listed.status, 0) << listed.err;
  for (const char *line : {"capture\tjack:system:capture_1\n", "capture\tjack:drovane-playback:out\n",
                           "playback\tjack:system:playback_1\n", "playback\tjack:drovane-capture:in\n"})
    EXPECT_NE(listed.out.find(line), std::string::npos) << line << " in:\n" << listed.out;
  for (const char *when : {"at first", "after the restart"}) {
    SCOPED_TRACE(when);
    ChildProcess player = PlayInto(jack, "drovane-capture:in");
    const double heard = tuner.NextSound();
    std::printf("%s: read %.3f Hz, the file %.3f Hz: %+.3f cents\n", when, heard, file, Cents(heard, file));
    EXPECT_NEAR(Cents(heard, file), 0, 0.5) << tuner.Err();
    EXPECT_EQ(player.Wait(), 0) << Slurp(OutputPath("play.err"));
    if (when == std::string("at first")) {
      EXPECT_EQ(recorder.Wait(), 0) << Slurp(OutputPath("record.err"));
      const std::string rendered = OutputPath("rendered.wav");
      ASSERT_EQ(RunTool(DROVANE_TONE, "--string 1 --out " + rendered).status, 0);
      EXPECT_NEAR(Cents(HeardInFile(recorded, "--precise"), HeardInFile(rendered, "--precise")), 0, 1.5);
      EXPECT_NEAR(Cents(HeardInFile(recorded), 82.4069), 0, 5) << "the low E string's tone";
    }
    jack.Stop(SIGTERM);
    ASSERT_TRUE(tuner.UntilNotice("No sound device")) << tuner.Err();
    ASSERT_TRUE(jack.Start()) << jack.Why();
    ASSERT_TRUE(tuner.UntilNotice("")) << tuner.Err();
  }

  tuner.Process().Signal(SIGINT);
  tuner.Process().Wait();
  EXPECT_EQ(tuner.Process().EndedBySignal(), SIGINT);
  const std::string err = tuner.Err();
  EXPECT_EQ(Count(err, "drovane: lost the audio capture device jack ("), 2u) << err;
  EXPECT_EQ(Count(err, "drovane: the audio capture device jack is back\n"), 2u) << err;
  EXPECT_EQ(Count(err, "drovane: lost the audio output device jack ("), 2u) << err;
  EXPECT_EQ(Count(err, "drovane: the audio output device jack is back\n"), 2u) << err;
}

}  // namespace
