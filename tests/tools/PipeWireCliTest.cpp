// The tools' live audio against a PipeWire server of the test's own, through
// both ways SDL reaches it: its pipewire backend, and its pulseaudio backend
// through pipewire-pulse. A recording played into the server's sink is heard
// from its microphone, and a tone played live is recorded from it. Real time,
// a few seconds each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildProcess.h"
#include "LiveReadings.h"
#include "PipeWireServer.h"
#include "ToolRun.h"

namespace {

class PipeWire : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server.Ok()) GTEST_SKIP() << server.Why();
  }

  // The server's settings with SDL sent to it by `backend`.
  std::vector<std::string> Through(const std::string &backend) const {
    std::vector<std::string> env{"SDL_AUDIODRIVER=" + backend};
    for (const std::string &e : server.Env()) env.push_back(e);
    return env;
  }
  int PlayIntoTheSink(const std::string &path) const {
    return server.Run("pw-cat", {"--playback", "--target", PipeWireServer::kSink, path});
  }
  bool Linked(const std::string &node) const {
    std::vector<std::string> links;
    server.Run("pw-link", {"--links"}, &links);
    for (const std::string &line : links)
      if (line.find("|-> " + node + ":") != std::string::npos) return true;
    return false;
  }

  PipeWireServer server{true};
};

// Between the two, the server crashes (killed by its pid) and comes back.
TEST_F(PipeWire, AnalyzeLiveHearsItThroughBothBackendsAndAfterARestart) {
  const std::string path = SharpA2();
  const Reading file = OfFile(path);
  ASSERT_EQ(file.name, "A-2");
  ASSERT_NEAR(file.cents, 12, 1);

  ExpectLiveHearsTheFile(Through("pipewire"), [&] { return PlayIntoTheSink(path); }, file);
  server.Stop(SIGKILL);
  ASSERT_TRUE(server.Start()) << server.Why();
  ExpectLiveHearsTheFile(Through("pulseaudio"), [&] { return PlayIntoTheSink(path); }, file);
}

TEST_F(PipeWire, ToneLivePlaysIntoItThroughBothBackends) {
  for (const std::string backend : {"pipewire", "pulseaudio"}) {
    SCOPED_TRACE(backend);
    const std::string recorded = OutputPath(backend + ".wav");
    ChildProcess recorder("/usr/bin/pw-cat",
                          {"--record", "--target", PipeWireServer::kSource, "--rate", "22050", "--channels", "1",
                           "--format", "s16", recorded},
                          server.Env(), OutputPath("pw-cat"));
    while (!Linked("pw-cat")) ASSERT_TRUE(recorder.Running()) << Slurp(OutputPath("pw-cat"));

    PlayLowELive(Through(backend));
    recorder.Signal(SIGINT);
    recorder.Wait();  // pw-cat ends with status 1 at SIGINT, its file complete
    ExpectTheLowE(recorded);
  }
}

}  // namespace
