// Every way of asking the tuner to end: INT, TERM and HUP in its window (an
// X server of the test's own), headless on the real clock and on the virtual
// one, and the window's close button; each with a reference tone playing into
// a WAV sink. Each ends the run in order: the WAV is finalised with what was
// played, the last screen is kept, and the status tells how it ended (a
// signal's own, as a shell shows it; the program's 0 for the close button).
// Nothing waits on time: each step waits for what the tuner printed or for
// the state of its process.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <sstream>

#include "ChildProcess.h"
#include "PulseServer.h"
#include "TunerRun.h"
#include "XvfbServer.h"
#include "measure/TestSignals.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include "DesktopWindow.h"

namespace {

using namespace tuner;

// A string's reference tone as the tone tool writes it.
std::vector<short> ReferenceTone(int string) {
  const std::string path = OutputPath("string-" + std::to_string(string) + ".wav");
  const Outcome r = RunTool(DROVANE_TONE, "--string " + std::to_string(string) + " --out " + path);
  EXPECT_EQ(r.status, 0) << r.err;
  return ReadSound(path);
}

// A WAV sink the run finalised: its header counts exactly the samples the
// file holds; they are returned.
std::vector<short> Finalised(const std::string &wav) {
  SF_INFO info{};
  const std::vector<short> played = ReadSound(wav, &info);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16) << wav;
  const long size = static_cast<long>(Slurp(wav).size());
  EXPECT_EQ(size, 44 + 2 * static_cast<long>(info.frames)) << "the header counts what the file holds: " << wav;
  return played;
}

bool StartsWith(const std::vector<short> &whole, const std::vector<short> &part) {
  return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

// The pixels of the hint window (client 0, 70, 40 x 20) in a screenshot.
std::vector<unsigned> Hint(const std::string &png) {
  const Png shot(png);
  std::vector<unsigned> pixels;
  if (!shot.Ok()) return pixels;
  for (int y = kCaption + 70; y < kCaption + 90; ++y)
    for (int x = 0; x < 40; ++x) pixels.push_back(shot.Pixel(x, y));
  return pixels;
}

// The hint "E" as a headless run shows it once key 1 is pressed.
std::vector<unsigned> HintE() {
  const std::string shot = OutputPath("hint-e.png");
  const Outcome r = RunTuner("--capture silence --playback null --duration 1 --script " +
                             Script("0.2 key 1\n0.3 screenshot " + shot + "\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  return Hint(shot);
}

// A tuner run whose script plays reference tones into a WAV sink (the low E
// at 0.2 s unless said otherwise), as a child whose trace is read as it
// comes: started, and ready once the trace shows the string chosen last.
struct PlayingRun {
  PlayingRun(const std::string &name, std::vector<std::string> args, const std::vector<std::string> &env,
             const std::string &script = "0.2 key 1\n")
      : wav(OutputPath(name + ".wav")), shot(OutputPath(name + ".png")), err(OutputPath(name + ".err")) {
    std::remove(wav.c_str());
    std::remove(shot.c_str());
    args.insert(args.end(), {"--capture", "silence", "--playback", wav, "--trace-text", "--screenshot", shot,
                             "--script", Script(script)});
    tuner = std::make_unique<ChildProcess>(DROVANE_TUNER, args, env, err);
  }
  bool Ready(const std::string &hint = "E") { return tuner->Started() && tuner->ReadUntil("STATIC\t" + hint); }

  std::string wav, shot, err;
  std::unique_ptr<ChildProcess> tuner;
};

// SDL and the X libraries keep some memory to the end: not the tuner's to
// answer for in a sanitizer build.
const char kNoLeakCheck[] = "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1";

TEST(TunerEnd, InAWindowIntTermHupAndTheCloseButtonEachEndTheRunInOrder) {
  const std::vector<short> lowE = ReferenceTone(1);
  const std::vector<unsigned> hintE = HintE();
  ASSERT_FALSE(hintE.empty());
  XvfbServer server(OutputPath("end-xvfb-runtime"));
  if (server.display().empty()) GTEST_SKIP() << "no X server for the window: " << server.why();
  const std::vector<std::string> env{"DISPLAY=" + server.display(), "SDL_AUDIODRIVER=dummy", kNoLeakCheck};
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, 0}) {
    const std::string name = signal ? std::string("window-") + sigabbrev_np(signal) : "window-closed";
    PlayingRun run(name, {"--screen", "window", "--scale", "1"}, env);
    ASSERT_TRUE(run.Ready()) << name << ": " << Slurp(run.err);
    if (signal) {
      run.tuner->Signal(signal);
      EXPECT_EQ(run.tuner->Wait(), -1) << name << ": " << Slurp(run.err);
      EXPECT_EQ(run.tuner->EndedBySignal(), signal) << name;
    } else {
      std::string said;
      const Window window = FindWindowByTitle(env[0], "Drovane", &said);
      ASSERT_NE(window, 0u) << said;
      Display *x = XOpenDisplay(server.display().c_str());
      ASSERT_NE(x, nullptr);
      AskToClose(x, window);
      XCloseDisplay(x);
      EXPECT_EQ(run.tuner->Wait(), 0) << name << ": " << Slurp(run.err);
    }
    EXPECT_EQ(Slurp(run.err), "") << name;
    EXPECT_TRUE(StartsWith(lowE, Finalised(run.wav))) << name << ": the tone as far as it played";
    EXPECT_EQ(Hint(run.shot), hintE) << name << ": the last full screen, not a black one";
  }
}

TEST(TunerEnd, HeadlessOnTheRealClockTermEndsTheRunInOrder) {
  const std::vector<short> lowE = ReferenceTone(1);
  PlayingRun run("headless-real", {"--screen", "headless", "--clock", "real", "--duration", "600"}, {});
  ASSERT_TRUE(run.Ready()) << Slurp(run.err);
  run.tuner->Signal(SIGTERM);
  EXPECT_EQ(run.tuner->Wait(), -1) << Slurp(run.err);
  EXPECT_EQ(run.tuner->EndedBySignal(), SIGTERM);
  EXPECT_EQ(Slurp(run.err), "");
  EXPECT_TRUE(StartsWith(lowE, Finalised(run.wav)));
  EXPECT_EQ(Hint(run.shot), HintE());
}

// On the virtual clock the run races ahead of the signal: what it played is
// the start of what a whole run of the same script plays (the low E chosen at
// 0.2 s, the A at 5 s, as far as the run got).
TEST(TunerEnd, HeadlessOnTheVirtualClockIntEndsTheRunInOrder) {
  const std::string script = "0.2 key 1\n5 key 2\n", whole = OutputPath("whole.wav");
  const Outcome r = RunTuner("--capture silence --duration 10 --playback " + whole + " --script " + Script(script));
  ASSERT_EQ(r.status, 0) << r.err;
  PlayingRun run("headless-virtual", {"--screen", "headless", "--clock", "virtual", "--duration", "100000"}, {},
                 script);
  ASSERT_TRUE(run.Ready("A")) << Slurp(run.err);
  run.tuner->Signal(SIGINT);
  EXPECT_EQ(run.tuner->Wait(), -1) << Slurp(run.err);
  EXPECT_EQ(run.tuner->EndedBySignal(), SIGINT);
  EXPECT_EQ(Slurp(run.err), "");
  const std::vector<short> played = Finalised(run.wav);
  EXPECT_GE(played.size(), ReferenceTone(1).size());
  EXPECT_TRUE(StartsWith(ReadSound(whole), played));
  EXPECT_TRUE(Png(run.shot).Ok());
}

// The thread's state in /proc: the system call it is blocked in, and
// whether it catches `signal` (else the default action takes it).
long BlockedIn(pid_t pid) {
  long number = -1;
  std::istringstream(Slurp("/proc/" + std::to_string(pid) + "/syscall")) >> number;
  return number;
}
bool Catches(pid_t pid, int signal) {
  const std::string status = Slurp("/proc/" + std::to_string(pid) + "/status");
  const size_t at = status.find("SigCgt:");
  return at != std::string::npos && (std::stoull(status.substr(at + 7), nullptr, 16) >> (signal - 1) & 1);
}

// A run stuck in a write (a FIFO whose reader never reads) cannot end in
// order: the first Ctrl-C is taken, and the second ends it at once.
TEST(TunerEnd, ASecondCtrlCEndsARunThatCannotEndInOrder) {
#ifdef __SANITIZE_THREAD__
  GTEST_SKIP() << "ThreadSanitizer holds a signal back until the thread leaves its system call, so a run stuck "
                  "in a write never sees the first Ctrl-C";
#endif
  const std::string fifo = OutputPath("stuck.wav");
  std::remove(fifo.c_str());
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ChildProcess tuner(DROVANE_TUNER,
                     {"--screen", "headless", "--capture", "silence", "--playback", fifo, "--duration", "100000",
                      "--script", Script("0.1 key 1\n")},
                     {}, OutputPath("stuck.err"), "/dev/null");
  ASSERT_TRUE(tuner.Started());
  while (BlockedIn(tuner.Pid()) != SYS_write) ASSERT_TRUE(tuner.Running()) << Slurp(OutputPath("stuck.err"));
  ASSERT_TRUE(Catches(tuner.Pid(), SIGINT));
  tuner.Signal(SIGINT);
  while (Catches(tuner.Pid(), SIGINT)) ASSERT_TRUE(tuner.Running()) << "the first Ctrl-C ended it";
  EXPECT_TRUE(tuner.Running()) << "still writing";
  tuner.Signal(SIGINT);
  EXPECT_EQ(tuner.Wait(), -1);
  EXPECT_EQ(tuner.EndedBySignal(), SIGINT);
  close(reader);
}

// Live capture headless follows the sound card, on the real clock: a note
// played into the sound server is heard, and TERM then ends the run.
TEST(TunerEnd, HeadlessLiveCaptureRunsOnTheRealClock) {
  PulseServer server;
  if (!server.Ok()) GTEST_SKIP() << server.Why();
  const std::string a = WriteSound("live-a2.wav", signals::Sine(110, 12000, 22050 * 3), 22050, 1);
  ChildProcess tuner(DROVANE_TUNER, {"--screen", "headless", "--capture", "live", "--playback", "null", "--trace-text"},
                     server.Env(), OutputPath("live.err"));
  ASSERT_TRUE(tuner.ReadUntil("STATIC\tG")) << Slurp(OutputPath("live.err"));
  std::vector<std::string> listening;
  while (listening.empty() && tuner.Running()) server.Pactl({"list", "short", "source-outputs"}, &listening);
  ASSERT_FALSE(listening.empty()) << "the tuner never listened: " << Slurp(OutputPath("live.err"));
  ChildProcess player(PulseServer::Program("paplay"), {"--device=drovane", a}, server.Env(), OutputPath("paplay.err"));
  EXPECT_TRUE(tuner.ReadUntil("STATIC\tA")) << "the note was not heard: " << Slurp(OutputPath("live.err"));
  tuner.Signal(SIGTERM);
  EXPECT_EQ(tuner.Wait(), -1) << Slurp(OutputPath("live.err"));
  EXPECT_EQ(tuner.EndedBySignal(), SIGTERM);
  player.Wait();
}

}  // namespace
