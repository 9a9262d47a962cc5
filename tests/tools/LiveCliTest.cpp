// drovane-analyze --live as a user runs it: the microphone until Ctrl-C.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ChildProcess.h"
#include "ToolRun.h"

namespace {

std::string ErrPath() { return OutputPath("stderr.txt"); }

// Our message is the last word on stderr, alone on its line.
void ExpectNoDeviceMessage(const std::string &err) {
  const size_t at = err.rfind("drovane-analyze: no audio capture device found");
  ASSERT_NE(at, std::string::npos) << err;
  EXPECT_TRUE(at == 0 || err[at - 1] == '\n') << err;
  EXPECT_EQ(err.find('\n', at), err.size() - 1) << err;
}

// After the first line: lets the readings flow, interrupts, and checks the
// orderly end.
void InterruptOnceReadingsFlow(ChildProcess *child, const std::string &first) {
  EXPECT_EQ(first, "live (reference A = 440.00 Hz)");
  std::string line;
  ASSERT_TRUE(child->ReadLine(&line));  // the column heads
  ASSERT_TRUE(child->ReadLine(&line));  // the first reading, 0.77 s in
  EXPECT_EQ(line.substr(0, 12), "   0.7256236") << line;
  child->Signal(SIGINT);
  long readings = 1;
  std::string last;
  while (child->ReadLine(&line)) {
    if (line.rfind("live: ", 0) == 0) {
      last = line;
      continue;
    }
    EXPECT_TRUE(last.empty()) << "a reading after the summary: " << line;
    ++readings;
  }
  EXPECT_EQ(child->Wait(), 0);
  EXPECT_EQ(last.rfind("live: " + std::to_string(readings) + " results from ", 0), 0u) << last;
}

TEST(LiveCli, WithoutAnAudioSystemSaysNoDeviceWasFound) {
  ChildProcess child(DROVANE_ANALYZE, {"--live"}, {"SDL_AUDIODRIVER=drovane-no-such-driver"}, ErrPath());
  ASSERT_TRUE(child.Started());
  std::string line;
  EXPECT_FALSE(child.ReadLine(&line)) << "nothing on stdout: " << line;
  EXPECT_EQ(child.Wait(), 1);
  ExpectNoDeviceMessage(Slurp(ErrPath()));
}

// On a machine with a microphone the readings are interrupted instead.
TEST(LiveCli, OnThisMachineEitherReadsOrSaysNoDeviceWasFound) {
  ChildProcess child(DROVANE_ANALYZE, {"--live"}, {}, ErrPath());
  ASSERT_TRUE(child.Started());
  std::string line;
  if (!child.ReadLine(&line)) {
    EXPECT_EQ(child.Wait(), 1);
    ExpectNoDeviceMessage(Slurp(ErrPath()));
    return;
  }
  child.Signal(SIGINT);
  while (child.ReadLine(&line)) {}
  EXPECT_EQ(child.Wait(), 0);
  GTEST_SKIP() << "this machine has an audio capture device: " << line;
}

// SDL's dummy driver records silence in real time: every reading is "no pitch".
TEST(LiveCli, CtrlCStopsTheLoopAndEndsWithASummary) {
  ChildProcess child(DROVANE_ANALYZE, {"--live"}, {"SDL_AUDIODRIVER=dummy"}, ErrPath());
  ASSERT_TRUE(child.Started());
  std::string first;
  if (!child.ReadLine(&first)) {
    EXPECT_EQ(child.Wait(), 1);
    GTEST_SKIP() << "SDL has no dummy driver here: " << Slurp(ErrPath());
  }
  InterruptOnceReadingsFlow(&child, first);
  EXPECT_EQ(Slurp(ErrPath()), "");
}

TEST(LiveCli, TakesNoOtherInput) {
  for (const std::vector<std::string> &args : {std::vector<std::string>{"--live", "--demo"},
                                               std::vector<std::string>{"--live", "some.wav"}}) {
    ChildProcess child(DROVANE_ANALYZE, args, {}, ErrPath());
    ASSERT_TRUE(child.Started());
    std::string line;
    EXPECT_FALSE(child.ReadLine(&line));
    EXPECT_EQ(child.Wait(), 2);
    EXPECT_NE(Slurp(ErrPath()).find("--live cannot be combined"), std::string::npos);
  }
}

}  // namespace
