// The tools' live audio against a PulseAudio server of the test's own: a
// recording played into its null sink is captured from the sink's monitor,
// and a tone played live is recorded from it. Real time, a few seconds each.
#include <gtest/gtest.h>

#include <sys/syscall.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "ChildProcess.h"
#include "LiveReadings.h"
#include "PulseServer.h"
#include "ToolRun.h"

namespace {

class SoundServer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server.Ok()) GTEST_SKIP() << server.Why();
  }
  PulseServer server;
};

TEST_F(SoundServer, AnalyzeLiveReadsARecordingAsItReadsTheFile) {
  const std::string path = SharpA2();
  const Reading file = OfFile(path);
  ASSERT_EQ(file.name, "A-2");
  ASSERT_NEAR(file.cents, 12, 1);

  ExpectLiveHearsTheFile(server.Env(), [&] { return server.Run("paplay", {"--device=drovane", path}); }, file);
}

TEST_F(SoundServer, ToneLivePlaysTheNoteOfTheString) {
  const std::string recorded = OutputPath("tone-live.wav");
  ChildProcess recorder(PulseServer::Program("parec"),
                        {"--device=drovane.monitor", "--rate=22050", "--channels=1", "--format=s16le",
                         "--file-format=wav", recorded},
                        server.Env(), OutputPath("parec"));
  ASSERT_TRUE(recorder.Started());
  std::vector<std::string> recording;
  while (recording.empty() && recorder.Running()) server.Pactl({"list", "short", "source-outputs"}, &recording);

  PlayLowELive(server.Env());
  recorder.Signal(SIGINT);
  EXPECT_EQ(recorder.Wait(), 0) << Slurp(OutputPath("parec"));
  ExpectTheLowE(recorded);
}

// Ctrl-C while the tone plays stops it at once, and the tool ends as Ctrl-C
// ends a program (a shell then stops a script that runs it).
TEST_F(SoundServer, CtrlCCutsALiveToneShort) {
  ChildProcess tone(DROVANE_TONE, {"--string", "1"}, server.Env(), OutputPath("err"));
  ASSERT_TRUE(tone.Started());
  std::vector<std::string> playing;
  while (playing.empty() && tone.Running()) server.Pactl({"list", "short", "sink-inputs"}, &playing);
  ASSERT_FALSE(playing.empty()) << "the tone never played: " << Slurp(OutputPath("err"));
  tone.Signal(SIGINT);
  EXPECT_EQ(tone.Wait(), -1) << Slurp(OutputPath("err"));
  EXPECT_EQ(tone.EndedBySignal(), SIGINT);
  std::vector<std::string> left;
  server.Pactl({"list", "short", "sink-inputs"}, &left);
  EXPECT_TRUE(left.empty()) << "the stream was closed before the tool ended";
}

// Whether a thread of `pid` named like SDL's capture thread is blocked in
// ppoll with no timeout: waiting on the server for data, after SDL has
// started reading (while paused it only naps and flushes).
bool CaptureThreadWaitsOnServer(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  std::error_code error;
  for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
    if (Slurp(task.path() / "comm").rfind("SDLAudioC", 0) != 0) continue;
    unsigned long number, fds, count, timeout;
    if (std::sscanf(Slurp(task.path() / "syscall").c_str(), "%lu %lx %lx %lx", &number, &fds, &count, &timeout) == 4 &&
        number == SYS_ppoll && timeout == 0)
      return true;
  }
  return false;
}

// A source that stops delivering (a pipe nobody writes to) keeps SDL's
// close waiting on the server for ever: Ctrl-C still ends the analyser.
TEST_F(SoundServer, CtrlCEndsTheAnalyserEvenWhenTheSourceHasStalled) {
  ASSERT_EQ(server.Pactl({"load-module", "module-pipe-source", "source_name=stalled",
                          "file=" + server.Dir() + "/stalled.pipe", "format=s16le", "rate=22050", "channels=1"}),
            0);
  ASSERT_EQ(server.Pactl({"set-default-source", "stalled"}), 0);
  ChildProcess live(DROVANE_ANALYZE, {"--live"}, server.Env(), OutputPath("err"));
  std::string line;
  ASSERT_TRUE(live.ReadLine(&line)) << Slurp(OutputPath("err"));
  EXPECT_EQ(line, "live (reference A = 440.00 Hz)");
  while (!CaptureThreadWaitsOnServer(live.Pid())) ASSERT_TRUE(live.Running());
  live.Signal(SIGINT);
  std::string last;
  while (live.ReadLine(&line)) last = line;
  EXPECT_EQ(live.Wait(), 0);
  EXPECT_EQ(last, "live: 0 results from 0.0 s of sound; no note was heard; overruns: 0 (0.000 s of sound lost)");
  EXPECT_EQ(Slurp(OutputPath("err")),
            "drovane-analyze: the audio capture device did not close within 2 s (its sound server stopped "
            "answering); ending without it\n");
}

// Results that cannot be written end a live run at the next write, with the
// reason and status 1, the device closed in order (no other message): a full
// device before the first reading, a file that reaches its size limit after
// a few, and a summary lost on a full stderr.
TEST_F(SoundServer, AnalyzeLiveEndsWhenItsResultsCannotBeWritten) {
  std::string live = "env";
  for (const std::string &e : server.Env()) live += " " + ShellWord(e);
  live += std::string(" ") + DROVANE_ANALYZE + " --live";
  Outcome r = RunScript(live + " >/dev/full");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "drovane-analyze: write error: No space left on device\n");

  const std::string capped = OutputPath("capped.json");
  r = RunScript("(trap '' XFSZ; ulimit -f 1; exec " + live + " --json >" + capped + ")");
  EXPECT_EQ(r.status, 1);
  // libpulse says on its own lines that the limit keeps it from shared memory.
  const size_t ours = std::min(r.err.find("drovane-analyze: "), r.err.size());
  EXPECT_EQ(r.err.substr(ours), "drovane-analyze: write error: File too large\n") << r.err;
  const std::string kept = Slurp(capped);
  EXPECT_EQ(kept.size(), 1024u) << "what fitted is kept";
  const std::vector<std::string> lines = Lines(kept);
  ASSERT_GE(lines.size(), 5u) << kept;
  for (const std::string &line : lines) EXPECT_EQ(line.rfind("{\"file\":\"live\",\"time_s\":", 0), 0u) << line;

  ChildProcess csv(DROVANE_ANALYZE, {"--live", "--csv"}, server.Env(), "/dev/full");
  std::string line;
  ASSERT_TRUE(csv.ReadLine(&line));  // the column heads
  ASSERT_TRUE(csv.ReadLine(&line)) << "a reading";
  csv.Signal(SIGINT);
  while (csv.ReadLine(&line)) {}
  EXPECT_EQ(csv.Wait(), 1) << "the summary could not be written";
}

// Reads the child's results until its stderr holds `said`, as they come (a
// row each 45 ms, silence or not); false if it ends first.
bool ReadUntilSaid(ChildProcess &child, const std::string &errPath, const std::string &said,
                   std::vector<std::string> *rows) {
  for (std::string line; Slurp(errPath).find(said) == std::string::npos;) {
    if (!child.ReadLine(&line)) return false;
    rows->push_back(line);
  }
  return true;
}

// The server crashes while the analyser listens and while a tone plays, and
// is started again: the analyser says so, hears silence meanwhile, hears the
// recording again once it is back, and counts the time without it apart; the
// tone that was cut off is a failure. The lists of both tools name the
// devices as the tuner's options take them.
TEST_F(SoundServer, ToolsCarryOnOrFailPlainlyWhenTheServerCrashesAndListTheirDevicesAsTheTunerNamesThem) {
  const std::string path = SharpA2();
  const Reading file = OfFile(path);
  const std::string err = OutputPath("live.err");
  ChildProcess live(DROVANE_ANALYZE, {"--capture", "live", "--csv"}, server.Env(), err);
  std::string line;
  ASSERT_TRUE(live.ReadLine(&line)) << Slurp(err);
  std::vector<std::string> before, away, after;
  auto hear = [&](std::vector<std::string> *rows) {
    ASSERT_EQ(server.Run("paplay", {"--device=drovane", path}), 0);
    // Until the tone has passed the analyser: silence after it.
    while (live.ReadLine(&line) && (Middle(*rows).pitched == 0 || line.find(",0.000000000,") == std::string::npos))
      rows->push_back(line);
  };
  hear(&before);
  server.Stop(SIGKILL);
  ASSERT_TRUE(ReadUntilSaid(live, err, "drovane-analyze: lost the audio capture device live (", &before));
  ASSERT_TRUE(server.Start()) << server.Why();
  ASSERT_TRUE(ReadUntilSaid(live, err, "drovane-analyze: the audio capture device live is back\n", &away));
  hear(&after);
  live.Signal(SIGINT);
  EXPECT_EQ(live.Wait(), 0);

  for (const std::vector<std::string> *heard : {&before, &after}) {
    EXPECT_EQ(Middle(*heard).name, file.name);
    EXPECT_NEAR(Middle(*heard).cents, file.cents, 1.5);
  }
  EXPECT_EQ(Middle(away).pitched, 0u) << "silence while the server was away";
  const std::string said = Slurp(err);
  EXPECT_NE(said.find(" s without the device (lost 1 time); last note heard: " + file.name), std::string::npos)
      << said;
  EXPECT_NE(said.find("; overruns: 0 (0.000 s of sound lost)\n"), std::string::npos) << said;

  Outcome listed = RunTool("env " + ShellWords(server.Env()) + " " + DROVANE_ANALYZE, "--list-devices");
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_NE(listed.out.find("live:Monitor of Null Output\n"), std::string::npos) << listed.out;
  listed = RunTool("env " + ShellWords(server.Env()) + " " + DROVANE_TONE, "--list-devices");
  EXPECT_EQ(listed.out, "live:Null Output\n") << listed.err;

  ChildProcess tone(DROVANE_TONE, {"--string", "1", "--playback", "live:Null Output"}, server.Env(), err);
  std::vector<std::string> playing;
  while (playing.empty() && tone.Running()) server.Pactl({"list", "short", "sink-inputs"}, &playing);
  server.Stop(SIGKILL);
  EXPECT_EQ(tone.Wait(), 1);
  EXPECT_EQ(Slurp(err).substr(Slurp(err).rfind("drovane-tone: ")),
            "drovane-tone: the audio output device went away while the tone played\n");
}

}  // namespace
