// The tuner live against a PulseAudio server of the test's own whose null
// sink's monitor it hears: started before the server exists, the server
// killed and started again, a device chosen by name unloaded and loaded
// again, a source suspended. Each time the caption strip shows the notice
// while the device is away, stderr says it once, and the recording reads as
// from its file once the device is back. Real time, stepped by what the
// tuner's trace shows.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>

#include "LiveTuner.h"
#include "PipeWireServer.h"
#include "PulseServer.h"
#include "XvfbServer.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include "DesktopWindow.h"

namespace {

using namespace tuner;

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The scenario a desktop user meets: the tuner's window opened before any
// sound server runs, the server starting, crashing and starting again, and
// a string key played at the end. The time from each start to the tuner
// hearing is printed as a figure, never checked against a clock.
TEST(TunerSoundServer, AWindowStartedBeforeTheServerHearsItAndHearsAgainAfterACrash) {
  XvfbServer x(OutputPath("xvfb-runtime"));
  if (x.display().empty()) GTEST_SKIP() << "no X server for the window: " << x.why();
  PulseServer server;
  if (!server.Ok()) GTEST_SKIP() << server.Why();
  server.Stop(SIGKILL);
  const std::string path = SharpA2();
  const double file = HeardInFile(path, "--precise");
  ASSERT_NEAR(Cents(file, 110), 12, 0.5);

  std::vector<std::string> env = server.Env();
  env.push_back("DISPLAY=" + x.display());
  env.push_back("ASAN_OPTIONS=detect_leaks=0:abort_on_error=1");  // SDL's and X's own, kept to the end
  LiveTuner tuner({"--screen", "window", "--scale", "1", "--capture", "live", "--playback", "live", "--precise"}, env);
  ASSERT_TRUE(tuner.Started());
  ASSERT_TRUE(tuner.UntilNotice("No sound device")) << tuner.Err();

  for (const char *start : {"first", "after the crash"}) {
    SCOPED_TRACE(start);
    ASSERT_TRUE(server.Start()) << server.Why();
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(tuner.Until([&](const TraceLine &l) {
      if (l.source == "notice") std::printf("server started %s, %.2f s later: notice '%s'\n", start,
                                            SecondsSince(started), l.text.c_str());
      return l.source == "notice" && l.text.empty();
    })) << tuner.Err();
    ASSERT_EQ(server.Run("paplay", {"--device=drovane", path}), 0);
    EXPECT_NEAR(Cents(tuner.NextSound(), file), 0, 1.5);
    server.Stop(SIGKILL);
    ASSERT_TRUE(tuner.UntilNotice("No sound device")) << tuner.Err();
  }
  ASSERT_TRUE(server.Start()) << server.Why();
  ASSERT_TRUE(tuner.UntilNotice("")) << tuner.Err();

  // Key 1 plays the low E into the sink, whose monitor the tuner hears.
  std::string said;
  const Window window = FindWindowByTitle("DISPLAY=" + x.display(), "Drovane", &said);
  ASSERT_NE(window, 0u) << said;
  const std::string key = "DISPLAY=" + x.display() + " xdotool windowfocus --sync " + std::to_string(window) + " key 1";
  ASSERT_EQ(std::system(key.c_str()), 0);
  EXPECT_NEAR(Cents(tuner.NextSound(), 82.4069), 0, 5) << "the low E string's tone";

  Display *display = XOpenDisplay(x.display().c_str());
  ASSERT_NE(display, nullptr);
  AskToClose(display, window);
  XCloseDisplay(display);
  EXPECT_EQ(tuner.Process().Wait(), 0);
  const std::string err = tuner.Err();
  EXPECT_EQ(Count(err, "drovane: no audio capture device found: "), 1u) << err;
  EXPECT_EQ(Count(err, "listening to silence until it is there\n"), 1u) << err;
  EXPECT_EQ(Count(err, "drovane: the audio capture device live is there\n"), 1u) << err;
  EXPECT_EQ(Count(err, "drovane: lost the audio capture device live ("), 2u) << err;
  EXPECT_EQ(Count(err, "drovane: the audio capture device live is back\n"), 2u) << err;
  EXPECT_EQ(Count(err, "drovane: the audio output device live is back\n"), 2u) << err;
  EXPECT_NE(err.find("devices lost: 4 ("), std::string::npos) << err;
}

// A frozen server (SIGSTOP) is lost like a dead one, and closing the window
// then ends the tuner while the server stays frozen: the closes are left
// after their bound (said once), SDL's tear-down with them.
TEST(TunerSoundServer, AFrozenServerIsLostAndDoesNotHoldTheWindowsClose) {
  XvfbServer x(OutputPath("xvfb-runtime"));
  if (x.display().empty()) GTEST_SKIP() << "no X server for the window: " << x.why();
  PulseServer server;
  if (!server.Ok()) GTEST_SKIP() << server.Why();
  std::vector<std::string> env = server.Env();
  env.push_back("DISPLAY=" + x.display());
  env.push_back("ASAN_OPTIONS=detect_leaks=0:abort_on_error=1");
  LiveTuner tuner({"--screen", "window", "--scale", "1", "--capture", "live", "--playback", "live"}, env);
  ASSERT_TRUE(tuner.UntilOn()) << tuner.Err();
  std::string said;
  const Window window = FindWindowByTitle("DISPLAY=" + x.display(), "Drovane", &said);
  ASSERT_NE(window, 0u) << said;

  kill(server.Pid(), SIGSTOP);
  ASSERT_TRUE(tuner.UntilNotice("No microphone")) << tuner.Err();
  Display *display = XOpenDisplay(x.display().c_str());
  ASSERT_NE(display, nullptr);
  AskToClose(display, window);
  XCloseDisplay(display);
  EXPECT_EQ(tuner.Process().Wait(), 0);
  kill(server.Pid(), SIGCONT);
  const std::string err = tuner.Err();
  EXPECT_EQ(Count(err, "drovane: lost the audio capture device live (no sound came from it for "), 1u) << err;
  EXPECT_EQ(Count(err, " did not close within 2 s (their sound server stopped answering); ending without them\n"),
            1u)
      << err;
}

// A microphone chosen by name (a source remapped from a null sink's monitor)
// whose module is unloaded and loaded again, then suspended and resumed: the
// tuner, headless, loses it, is told it is back, and reads the recording as
// from its file each time.
TEST(TunerSoundServer, ADeviceChosenByNameGoesAndComesBackAndASuspendedOneIsTakenAgain) {
  PulseServer server;
  if (!server.Ok()) GTEST_SKIP() << server.Why();
  ASSERT_EQ(server.Pactl({"load-module", "module-null-sink", "sink_name=guitar"}), 0);
  const std::vector<std::string> mic{"load-module", "module-remap-source", "master=guitar.monitor", "source_name=mic",
                                     "source_properties=device.description=Guitar"};
  std::vector<std::string> module;
  ASSERT_EQ(server.Pactl(mic, &module), 0);
  const std::string path = SharpA2();
  const double file = HeardInFile(path, "--precise");

  LiveTuner tuner({"--screen", "headless", "--capture", "live:Guitar", "--playback", "null", "--precise"},
                  server.Env());
  ASSERT_TRUE(tuner.UntilOn()) << tuner.Err();
  auto hears = [&] {
    ASSERT_EQ(server.Run("paplay", {"--device=guitar", path}), 0);
    EXPECT_NEAR(Cents(tuner.NextSound(), file), 0, 1.5);
  };
  hears();

  ASSERT_EQ(server.Pactl({"unload-module", module.at(0)}), 0);
  ASSERT_TRUE(tuner.UntilNotice("No microphone")) << tuner.Err();
  ASSERT_EQ(server.Pactl(mic), 0);
  ASSERT_TRUE(tuner.UntilNotice("")) << tuner.Err();
  hears();

  ASSERT_EQ(server.Pactl({"suspend-source", "mic", "1"}), 0);
  ASSERT_TRUE(tuner.UntilNotice("No microphone")) << tuner.Err();
  ASSERT_EQ(server.Pactl({"suspend-source", "mic", "0"}), 0);
  ASSERT_TRUE(tuner.UntilNotice("")) << tuner.Err();
  hears();

  tuner.Process().Signal(SIGINT);
  tuner.Process().Wait();
  EXPECT_EQ(tuner.Process().EndedBySignal(), SIGINT);
  const std::string err = tuner.Err();
  EXPECT_EQ(Count(err, "drovane: lost the audio capture device live:Guitar ("), 2u) << err;
  EXPECT_EQ(Count(err, "drovane: the audio capture device live:Guitar is back\n"), 2u) << err;
  EXPECT_NE(err.find("devices lost: 2 ("), std::string::npos) << err;
}

// PipeWire through both ways SDL reaches it, crashing under the tuner: all
// of it killed, and (through pipewire-pulse) pipewire alone, which leaves
// pipewire-pulse up and the stream silent rather than broken.
TEST(TunerSoundServer, PipeWireCrashingUnderEitherBackendIsALossAndARestartAReturn) {
  PipeWireServer server(true);
  if (!server.Ok()) GTEST_SKIP() << server.Why();
  const std::string path = SharpA2();
  const double file = HeardInFile(path, "--precise");
  for (const std::string backend : {"pipewire", "pulseaudio"}) {
    SCOPED_TRACE(backend);
    std::vector<std::string> env{"SDL_AUDIODRIVER=" + backend};
    for (const std::string &e : server.Env()) env.push_back(e);
    LiveTuner tuner({"--screen", "headless", "--capture", "live", "--playback", "null", "--precise"}, env);
    ASSERT_TRUE(tuner.UntilOn()) << tuner.Err();
    auto hears = [&] {
      ASSERT_EQ(server.Run("pw-cat", {"--playback", "--target", PipeWireServer::kSink, path}), 0);
      EXPECT_NEAR(Cents(tuner.NextSound(), file), 0, 1.5);
    };
    hears();
    if (backend == "pulseaudio")
      kill(server.Pid(), SIGKILL);  // pipewire-pulse stays up
    else
      server.Stop(SIGKILL);
    ASSERT_TRUE(tuner.UntilNotice("No microphone")) << tuner.Err();
    server.Stop(SIGKILL);
    ASSERT_TRUE(server.Start()) << server.Why();
    ASSERT_TRUE(tuner.UntilNotice("")) << tuner.Err();
    hears();
    tuner.Process().Signal(SIGINT);
    tuner.Process().Wait();
    EXPECT_EQ(tuner.Process().EndedBySignal(), SIGINT);
    EXPECT_EQ(Count(tuner.Err(), "drovane: lost the audio capture device live ("), 1u) << tuner.Err();
    EXPECT_EQ(Count(tuner.Err(), "drovane: the audio capture device live is back\n"), 1u) << tuner.Err();
  }
}

}  // namespace
