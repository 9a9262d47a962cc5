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
#include "PulseServer.h"
#include "RecordedSilences.h"
#include "wave/LiveTimings.h"
#include "XvfbServer.h"

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

// A client named `name` that plays the tone from the period a peer joins
// its port name:out, once it says it is there.
ChildProcess Playing(const JackServer &jack, const std::string &name) {
  ChildProcess player(kClient,
                      {"play", "--name", name, "--frequency", std::to_string(kHz), "--amplitude",
                       std::to_string(kAmplitude), "--seconds", std::to_string(kSeconds)},
                      jack.Env(), OutputPath(name + ".err"));
  EXPECT_TRUE(player.ReadUntil("playing " + name + ":out at 48000 Hz")) << Slurp(OutputPath(name + ".err"));
  return player;
}

// The ports `port` is connected to, as jack_lsp -c lists them.
std::vector<std::string> Peers(const JackServer &jack, const std::string &port) {
  std::vector<std::string> lines, peers;
  jack.Run("jack_lsp", {"-c"}, &lines);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != port) continue;
    for (size_t j = i + 1; j < lines.size() && lines[j].rfind("   ", 0) == 0; ++j) peers.push_back(lines[j].substr(3));
  }
  return peers;
}

// The tuner headless on the server: its status and stderr.
Outcome Headless(const JackServer &jack, const std::string &args) {
  return RunTool("env " + ShellWords(jack.Env()) + " " + DROVANE_TUNER, "--screen headless " + args);
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

// --capture jack:PORT and --playback jack:PORT join those ports and no
// others: a client that plays once a peer joins it is heard as its file
// reads, and the reference tone reaches a recorder whole (not a sample of
// silence inside it, nothing lost). Headless, a port or a server that is not
// there ends the run at once, in the words of the tools.
TEST(TunerJack, JoinsTheNamedPortsOnlyPlaysTheToneWholeAndHeadlessRefusesWhatIsNotThere) {
  if (!*kClient) GTEST_SKIP() << "jack-test-client was not built (no libjack development files)";
  JackServer jack;
  if (!jack.Ok()) GTEST_SKIP() << jack.Why();
  const double file = HeardInFile(ToneFile(), "--precise");
  ChildProcess player = Playing(jack, "metro");
  const std::string recorded = OutputPath("played.wav");
  ChildProcess recorder(kClient, {"record", "--name", "rec", "--seconds", "5.5", "--out", recorded}, jack.Env(),
                        OutputPath("rec.err"));
  ASSERT_TRUE(recorder.ReadUntil("recording rec:in at 48000 Hz")) << Slurp(OutputPath("rec.err"));

  LiveTuner tuner({"--screen", "headless", "--capture", "jack:metro:out", "--playback", "jack:rec:in", "--precise",
                   "--script", Script("1 key 1\n")},
                  jack.Env());
  ASSERT_TRUE(tuner.UntilOn()) << tuner.Err();
  EXPECT_EQ(Peers(jack, "drovane-capture:in"), std::vector<std::string>{"metro:out"});
  EXPECT_EQ(Peers(jack, "drovane-playback:out"), std::vector<std::string>{"rec:in"});
  const double heard = tuner.NextSound();
  std::printf("read %.3f Hz from metro:out, the file %.3f Hz: %+.3f cents\n", heard, file, Cents(heard, file));
  EXPECT_NEAR(Cents(heard, file), 0, 0.5) << tuner.Err();
  EXPECT_EQ(player.Wait(), 0) << Slurp(OutputPath("metro.err"));
  EXPECT_EQ(recorder.Wait(), 0) << Slurp(OutputPath("rec.err"));
  tuner.Process().Signal(SIGINT);
  tuner.Process().Wait();
  EXPECT_EQ(tuner.Process().EndedBySignal(), SIGINT);
  EXPECT_EQ(tuner.Err().find("live audio:"), std::string::npos) << "nothing lost: " << tuner.Err();
  ExpectTheToneWhole(recorded);
  EXPECT_NEAR(Cents(HeardInFile(recorded), 82.4069), 0, 5) << "the low E string's tone";

  for (const char *direction : {"capture", "playback"}) {
    SCOPED_TRACE(direction);
    const bool capture = direction[0] == 'c';
    const Outcome missing = Headless(jack, capture ? "--capture jack:nosuch:port --playback null"
                                                   : "--capture silence --playback jack:nosuch:port");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, std::string("drovane: no ") + (capture ? "audio capture" : "audio output") +
                               " device jack:nosuch:port: no JACK port is called 'nosuch:port'\n");
  }
  jack.Stop();
  const Outcome away = Headless(jack, "--capture jack --playback null");
  EXPECT_EQ(away.status, 1);
  EXPECT_EQ(away.err, "drovane: no audio capture device jack: no JACK server is running\n");
}

// In a window a JACK port that is not there is waited for, as an absent
// device is: the notice shows and stderr says why, and once a client offers
// the port the tuner joins it and hears it.
TEST(TunerJack, AWindowWaitsForANamedPortAndJoinsItWhenItComes) {
  if (!*kClient) GTEST_SKIP() << "jack-test-client was not built (no libjack development files)";
  XvfbServer x(OutputPath("xvfb-runtime"));
  if (x.display().empty()) GTEST_SKIP() << "no X server for the window: " << x.why();
  JackServer jack;
  if (!jack.Ok()) GTEST_SKIP() << jack.Why();
  const double file = HeardInFile(ToneFile(), "--precise");
  std::vector<std::string> env = jack.Env();
  env.push_back("DISPLAY=" + x.display());
  env.push_back("ASAN_OPTIONS=detect_leaks=0:abort_on_error=1");  // SDL's and X's own, kept to the end
  LiveTuner tuner({"--screen", "window", "--scale", "1", "--capture", "jack:later:out", "--playback", "null",
                   "--precise"},
                  env);
  ASSERT_TRUE(tuner.UntilNotice("No microphone")) << tuner.Err();
  ChildProcess player = Playing(jack, "later");
  ASSERT_TRUE(tuner.UntilNotice("")) << tuner.Err();
  EXPECT_NEAR(Cents(tuner.NextSound(), file), 0, 0.5) << tuner.Err();
  EXPECT_EQ(player.Wait(), 0) << Slurp(OutputPath("later.err"));
  tuner.Process().Signal(SIGINT);
  tuner.Process().Wait();
  const std::string err = tuner.Err();
  EXPECT_EQ(Count(err, "drovane: no audio capture device jack:later:out: no JACK port is called 'later:out'; "
                       "listening to silence until it is there\n"),
            1u)
      << err;
  EXPECT_EQ(Count(err, "drovane: the audio capture device jack:later:out is there\n"), 1u) << err;
}

// Sends SIGSTOP to a server for as long as it lives, SIGCONT after.
class Frozen {
 public:
  explicit Frozen(pid_t pid) : pid_(pid) { kill(pid_, SIGSTOP); }
  ~Frozen() { kill(pid_, SIGCONT); }

 private:
  pid_t pid_;
};

// The three programs' --list-devices with both kinds of sound server
// running, each in turn frozen (SIGSTOP), and neither there: each lists
// what answered within the one bound (the open time: 2 s, longer under the
// thread checker) and says what did not, alike; with nothing to list it says
// why and fails. The time each listing took is printed as a figure.
TEST(TunerJack, EveryProgramListsWhatAnsweredAndSaysWhatDidNot) {
  JackServer jack;
  if (!jack.Ok()) GTEST_SKIP() << jack.Why();
  PulseServer pulse;
  if (!pulse.Ok()) GTEST_SKIP() << pulse.Why();
  std::vector<std::string> env = pulse.Env();
  for (const std::string &e : jack.Env())
    if (e.rfind("XDG_RUNTIME_DIR=", 0) != 0 && e.rfind("HOME=", 0) != 0) env.push_back(e);
  struct Program {
    const char *path, *name, *capture, *playback;
  };
  const Program programs[] = {{DROVANE_TUNER, "drovane", "capture\t", "playback\t"},
                              {DROVANE_ANALYZE, "drovane-analyze", "", nullptr},
                              {DROVANE_TONE, "drovane-tone", nullptr, ""}};
  auto list = [&](const Program &p, const char *when) {
    const auto start = std::chrono::steady_clock::now();
    const Outcome r = RunTool("env " + ShellWords(env) + " " + p.path, "--list-devices");
    std::printf("%s --list-devices %s: %.2f s\n", p.name, when,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return r;
  };
  auto has = [](const Outcome &r, const std::string &line) { return r.out.find(line + "\n") != std::string::npos; };

  for (const char *frozen : {"jackd", "pulseaudio"}) {
    SCOPED_TRACE(frozen);
    const bool jackFrozen = frozen[0] == 'j';
    Frozen stopped(jackFrozen ? jack.Pid() : pulse.Pid());
    for (const Program &p : programs) {
      SCOPED_TRACE(p.name);
      const Outcome r = list(p, jackFrozen ? "with jackd frozen" : "with pulseaudio frozen");
      EXPECT_EQ(r.status, 0) << r.err;
      const std::string bound = std::to_string(platform::wave::LiveTimings{}.open.count() / 1000) + " s";
      EXPECT_EQ(r.err, std::string(p.name) +
                           (jackFrozen ? ": the JACK server did not answer within " + bound + "; its ports are not listed\n"
                                       : ": the sound server did not answer within " + bound +
                                             "; its devices are not listed\n"));
      const std::string heard = jackFrozen ? "live:Monitor of Null Output" : "jack:system:capture_1";
      const std::string played = jackFrozen ? "live:Null Output" : "jack:system:playback_1";
      if (p.capture) {
        EXPECT_TRUE(has(r, p.capture + heard)) << r.out;
      }
      if (p.playback) {
        EXPECT_TRUE(has(r, p.playback + played)) << r.out;
      }
    }
  }

  pulse.Stop();
  jack.Stop();
  for (const Program &p : programs) {
    SCOPED_TRACE(p.name);
    const Outcome r = list(p, "with neither server");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    size_t told = 0;
    for (const char *what : {"capture", "output"}) {
      const std::string line = std::string(p.name) + ": no audio " + what + " device found: no audio system is "
                               "available (SDL: ";
      const size_t at = r.err.find(line);
      if (at == std::string::npos) continue;
      ++told;
      const std::string end = "); no JACK server is running\n";
      EXPECT_EQ(r.err.substr(r.err.find('\n', at) + 1 - end.size(), end.size()), end) << r.err;
    }
    EXPECT_EQ(told, p.capture && p.playback ? 2u : 1u) << r.err;
  }
}

}  // namespace
