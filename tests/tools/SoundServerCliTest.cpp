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
#include "PulseServer.h"
#include "ToolRun.h"

namespace {

// The middle pitched reading of CSV rows (time,level,note,Hz,name,cents).
struct Reading {
  size_t pitched = 0;
  std::string name;
  double cents = 0;
};

Reading Middle(const std::vector<std::string> &rows) {
  std::vector<std::pair<double, std::string>> found;
  for (const std::string &row : rows) {
    double t, note, hz, cents;
    int level;
    char name[8];
    const char *fields = row.c_str() + row.find(',') + 1;  // after the file's name
    if (std::sscanf(fields, "%lf,%d,%lf,%lf,%7[^,],%lf", &t, &level, &note, &hz, name, &cents) == 6 && note > 0)
      found.emplace_back(cents, name);
  }
  if (found.empty()) return {};
  std::sort(found.begin(), found.end());
  const auto &middle = found[found.size() / 2];
  return {found.size(), middle.second, middle.first};
}

Reading OfFile(const std::string &path) {
  const Outcome r = RunTool(DROVANE_ANALYZE, "--csv " + path);
  EXPECT_EQ(r.status, 0) << r.err;
  return Middle(Lines(r.out));
}

class SoundServer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server.Ok()) GTEST_SKIP() << server.Why();
  }
  PulseServer server;
};

// An A2 12 cents sharp with three overtones, 2.5 s, as a desktop file has it.
std::string SharpA2() {
  const double hz = 110 * std::pow(2.0, 0.12 / 12);
  std::vector<short> frames;
  for (int i = 0; i < 44100 * 5 / 2; ++i) {
    double v = 0;
    for (int k = 1; k <= 4; ++k) v += std::sin(2 * M_PI * k * hz * i / 44100) / k;
    frames.insert(frames.end(), 2, static_cast<short>(std::lround(6000 * v)));
  }
  return WriteSound("sharp-a2.wav", frames, 44100, 2);
}

TEST_F(SoundServer, AnalyzeLiveReadsARecordingAsItReadsTheFile) {
  const std::string path = SharpA2();
  const Reading file = OfFile(path);
  ASSERT_EQ(file.name, "A-2");
  ASSERT_NEAR(file.cents, 12, 1);

  ChildProcess live(DROVANE_ANALYZE, {"--live", "--csv"}, server.Env(), OutputPath("err"));
  std::string line;
  ASSERT_TRUE(live.ReadLine(&line)) << Slurp(OutputPath("err"));  // the column heads: capturing
  ASSERT_EQ(server.Run("paplay", {"--device=drovane", path}), 0);
  // Read until the tone, now all played, has passed the analyser.
  std::vector<std::string> rows;
  while (live.ReadLine(&line)) {
    rows.push_back(line);
    if (line.find(",0.000000000,") != std::string::npos) break;
  }
  live.Signal(SIGINT);
  while (live.ReadLine(&line)) rows.push_back(line);
  EXPECT_EQ(live.Wait(), 0);

  const Reading heard = Middle(rows);
  EXPECT_GE(heard.pitched, file.pitched * 3 / 4) << "most of the tone was heard";
  EXPECT_EQ(heard.name, file.name);
  EXPECT_NEAR(heard.cents, file.cents, 1.5);
  const std::string summary = Slurp(OutputPath("err"));
  EXPECT_NE(summary.find("last note heard: A-2 "), std::string::npos) << summary;
  EXPECT_NE(summary.find("; overruns: 0 (0.000 s of sound lost)\n"), std::string::npos) << summary;
}

TEST_F(SoundServer, ToneLivePlaysTheNoteOfTheString) {
  const std::string recorded = OutputPath("tone-live.wav"), rendered = OutputPath("tone-rendered.wav");
  ChildProcess recorder(PulseServer::Program("parec"),
                        {"--device=drovane.monitor", "--rate=22050", "--channels=1", "--format=s16le",
                         "--file-format=wav", recorded},
                        server.Env(), OutputPath("parec"));
  ASSERT_TRUE(recorder.Started());
  std::vector<std::string> recording;
  while (recording.empty() && recorder.Running()) server.Pactl({"list", "short", "source-outputs"}, &recording);

  ChildProcess tone(DROVANE_TONE, {"--string", "1"}, server.Env(), OutputPath("err"));
  std::string line;
  EXPECT_FALSE(tone.ReadLine(&line));
  EXPECT_EQ(tone.Wait(), 0);
  EXPECT_EQ(Slurp(OutputPath("err")), "");
  recorder.Signal(SIGINT);
  EXPECT_EQ(recorder.Wait(), 0) << Slurp(OutputPath("parec"));

  ASSERT_EQ(RunTool(DROVANE_TONE, "--string 1 --out " + rendered).status, 0);
  const Reading played = OfFile(rendered), heard = OfFile(recorded);
  EXPECT_EQ(heard.name, "E-2");
  EXPECT_EQ(heard.name, played.name);
  EXPECT_NEAR(heard.cents, played.cents, 1.5);
  EXPECT_GE(heard.pitched, played.pitched * 3 / 4);
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

}  // namespace
