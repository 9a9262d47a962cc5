// The tests' JACK client (jack-test-client) on the tests' JACK server (jackd
// with its dummy driver) and on PipeWire's JACK layer: a tone played into the
// recorder arrives sample for sample, and clients see the server crash or
// stop and find it again under the same name.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "JackServer.h"
#include "PipeWireServer.h"
#include "TestOutput.h"

namespace {

#ifdef JACK_TEST_CLIENT
constexpr const char *kClient = JACK_TEST_CLIENT;
#else
constexpr const char *kClient = "";
#endif

// Where the clients run: a server's settings, and the program that puts them
// on its JACK layer, if any (pw-jack).
struct JackHost {
  std::vector<std::string> env;
  std::string wrapper;
};

std::unique_ptr<ChildProcess> Client(const JackHost &host, std::vector<std::string> args, const std::string &err) {
  if (host.wrapper.empty()) return std::make_unique<ChildProcess>(kClient, args, host.env, OutputPath(err));
  args.insert(args.begin(), kClient);
  return std::make_unique<ChildProcess>(host.wrapper, args, host.env, OutputPath(err));
}

std::string Frames(double seconds) { return std::to_string(std::lround(seconds * 48000)) + " frames"; }

// Records `seconds` from port "tone:out" while a tone of `toneSeconds` is
// played into it; the recording's path.
std::string PlayIntoRecorder(const JackHost &host, double toneSeconds, double seconds) {
  const std::string path = OutputPath("recorded.wav");
  auto recorder = Client(host, {"record", "--name", "rec", "--seconds", std::to_string(seconds), "--out", path}, "rec");
  EXPECT_TRUE(recorder->ReadUntil("recording rec:in at 48000 Hz")) << Slurp(OutputPath("rec"));
  auto player = Client(host,
                       {"play", "--frequency", "440", "--amplitude", "0.5", "--seconds", std::to_string(toneSeconds),
                        "--connect", "rec:in"},
                       "play");
  EXPECT_TRUE(player->ReadUntil("playing tone:out at 48000 Hz")) << Slurp(OutputPath("play"));
  EXPECT_TRUE(player->ReadUntil("played " + Frames(toneSeconds)));
  EXPECT_EQ(player->Wait(), 0) << Slurp(OutputPath("play"));
  EXPECT_TRUE(recorder->ReadUntil("recorded " + Frames(seconds) + " to "));
  EXPECT_EQ(recorder->Wait(), 0) << Slurp(OutputPath("rec"));
  return path;
}

// The recorder begins on the period the tone's connection reaches it, as the
// tone does: sample n of the recording is sample n of the tone, then silence.
void ExpectTheToneWhole(const std::string &path, size_t toneFrames, size_t frames) {
  SF_INFO info{};
  SNDFILE *file = sf_open(path.c_str(), SFM_READ, &info);
  ASSERT_TRUE(file) << path;
  std::vector<float> heard(static_cast<size_t>(info.frames));
  sf_read_float(file, heard.data(), info.frames);
  sf_close(file);
  ASSERT_EQ(info.samplerate, 48000);
  ASSERT_EQ(info.channels, 1);
  ASSERT_EQ(heard.size(), frames);
  int wrong = 0;
  for (size_t n = 0; n < frames; ++n) {
    const double tone = n < toneFrames ? 0.5 * std::sin(2 * std::numbers::pi * 440 * n / 48000) : 0;
    if (std::abs(heard[n] - tone) > 1e-6 && ++wrong <= 3) ADD_FAILURE() << "sample " << n << ": " << heard[n];
  }
  EXPECT_EQ(wrong, 0);
}

class JackClients : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!*kClient) GTEST_SKIP() << "jack-test-client was not built: libjack-jackd2-dev is not installed";
  }
};

TEST_F(JackClients, AToneArrivesSampleForSample) {
  JackServer server;
  if (!server.Ok()) GTEST_SKIP() << server.Why();
  ExpectTheToneWhole(PlayIntoRecorder({server.Env(), ""}, 1.0, 1.5), 48000, 72000);
}

// PipeWire runs at 48000 Hz too; its JACK layer names ports after the nodes.
// Under ThreadSanitizer the instrumented clients miss PipeWire's real-time
// periods and the recording is no longer whole, so sample-exactness is left
// to the other builds.
TEST_F(JackClients, AToneArrivesSampleForSampleOnPipeWire) {
#ifdef __SANITIZE_THREAD__
  GTEST_SKIP() << "ThreadSanitizer slows the clients past PipeWire's real-time periods";
#endif
  const std::string missing = MissingProgram({"pw-jack"});
  if (!missing.empty()) GTEST_SKIP() << missing;
  PipeWireServer server;
  if (!server.Ok()) GTEST_SKIP() << server.Why();
  ExpectTheToneWhole(PlayIntoRecorder({server.Env(), "/usr/bin/pw-jack"}, 1.0, 1.5), 48000, 72000);
  std::vector<std::string> ports;
  EXPECT_EQ(server.Run("pw-jack", {"jack_lsp"}, &ports), 0);
  EXPECT_NE(std::find(ports.begin(), ports.end(), std::string(PipeWireServer::kSourceName) + ":capture_MONO"),
            ports.end());
}

// A client running when the server goes says so and keeps what it had; one
// started while it is away fails at once; after the restart both work again.
TEST_F(JackClients, SeeTheServerGoAndComeBackUnderTheSameName) {
  JackServer server;
  if (!server.Ok()) GTEST_SKIP() << server.Why();
  const JackHost host{server.Env(), ""};
  for (int signal : {SIGKILL, SIGTERM}) {
    SCOPED_TRACE(signal);
    auto recorder = Client(
        host, {"record", "--seconds", "60", "--out", OutputPath("cut.wav"), "--connect", "system:capture_1"}, "cut");
    ASSERT_TRUE(recorder->ReadUntil("recording recorder:in at 48000 Hz")) << Slurp(OutputPath("cut"));
    server.Stop(signal);
    EXPECT_TRUE(recorder->ReadUntil("recorded ")) << "what it had is written";
    EXPECT_EQ(recorder->Wait(), 1);
    EXPECT_NE(Slurp(OutputPath("cut")).find("jack-test-client: the JACK server went away"), std::string::npos)
        << Slurp(OutputPath("cut"));

    auto late = Client(host, {"play", "--frequency", "440", "--amplitude", "0.5", "--seconds", "1"}, "late");
    EXPECT_EQ(late->Wait(), 1);
    EXPECT_NE(Slurp(OutputPath("late")).find("jack-test-client: no JACK server answers\n"), std::string::npos);

    ASSERT_TRUE(server.Start()) << server.Why();
    ExpectTheToneWhole(PlayIntoRecorder(host, 0.1, 0.2), 4800, 9600);
  }
}

// jackd2 keeps eight servers in its registry and frees a killed one's entry
// only for a server of the same name: servers killed outright, more than
// eight in turn, must leave the next one (and the user's own) room to start.
TEST(JackServers, ServersKilledOutrightLeaveRoomForTheNext) {
  constexpr int kMoreThanTheRegistryHolds = 9;
  for (int i = 0; i < kMoreThanTheRegistryHolds; ++i) {
    JackServer killed;
    if (i == 0 && !killed.Ok()) GTEST_SKIP() << killed.Why();
    ASSERT_TRUE(killed.Ok()) << "server " << i << ": " << killed.Why();
    killed.Stop(SIGKILL);
  }
  JackServer next;
  EXPECT_TRUE(next.Ok()) << next.Why();
  EXPECT_EQ(next.Run("jack_lsp", {}), 0);
}

}  // namespace
