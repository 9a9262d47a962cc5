// What the tuner writes because it was asked to (a WAV sink, screenshots,
// the text trace, --help) is written or refused with the file's name and the
// system's reason, never lost in silence: before the run where that can be
// known, else as it happens, ending the run in order with status 1. A full
// disk keeps what fitted where the format allows. FIFOs are never waited on.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "TunerRun.h"

namespace {

using namespace tuner;

const std::string kTuner = std::string(DROVANE_TUNER) + " --screen headless --clock virtual --capture silence";

std::vector<short> LowE() {
  const std::string path = OutputPath("low-e.wav");
  EXPECT_EQ(RunTool(DROVANE_TONE, "--string 1 --out " + path).status, 0);
  return ReadSound(path);
}

// A tmpfs of its own mounted on a folder for the test (root only), or why not.
class Mount {
 public:
  Mount(const std::string &folder, const std::string &options) : folder_(folder) {
    std::system(("umount " + folder + " 2>/dev/null; mkdir -p " + folder).c_str());
    const Outcome r = RunScript("mount -t tmpfs -o " + options + " drovane-test " + folder);
    mounted_ = r.status == 0;
    if (!mounted_) why_ = "a tmpfs cannot be mounted here (" + r.err + ")";
  }
  ~Mount() {
    if (mounted_) std::system(("umount " + folder_).c_str());
  }
  bool Ok() const { return mounted_; }
  const std::string &Why() const { return why_; }

 private:
  std::string folder_, why_;
  bool mounted_ = false;
};

TEST(TunerOutput, WhatCannotBeWrittenIsRefusedWithItsNameAndReason) {
  const std::string fifo = OutputPath("unread.fifo"), wavFifo = OutputPath("unread.wav"),
                    pngFifo = OutputPath("unread.png");
  for (const std::string &f : {fifo, wavFifo, pngFifo}) {
    std::remove(f.c_str());
    ASSERT_EQ(mkfifo(f.c_str(), 0600), 0) << f;
  }
  const std::string rate = WriteSound("rate-3000.wav", std::vector<short>(3000, 0), 3000, 1);
  const std::string missing = "/no/such/folder/";
  const struct {
    const char *what;
    std::string script;
    int status;
    std::string err;
    double ended;  // the trace's last time; below 0 when it never began
  } cases[] = {
      {"a WAV sink in no folder", kTuner + " --trace-text --playback " + missing + "t.wav", 1,
       "drovane: cannot write '" + missing + "t.wav': No such file or directory\n", -1},
      {"a screenshot in no folder", kTuner + " --trace-text --screenshot " + missing + "s.png", 1,
       "drovane: cannot write '" + missing + "s.png': No such file or directory\n", -1},
      {"a script's screenshot in no folder",
       kTuner + " --trace-text --script " + Script("1 screenshot " + missing + "\x1b[2J.png\n"), 1,
       "drovane: cannot write '" + missing + "\\x1b[2J.png': No such file or directory\n", -1},
      {"a WAV sink to a FIFO nobody reads", kTuner + " --trace-text --duration 5 --playback " + wavFifo, 1,
       "drovane: the playback device " + wavFifo + " could not be opened (cannot write '" + wavFifo +
           "': no program is reading from it (a FIFO))\n",
       0},
      {"a screenshot to a FIFO nobody reads", kTuner + " --trace-text --duration 5 --screenshot " + pngFifo, 1,
       "drovane: cannot write screenshot '" + pngFifo + "': no program is reading from it (a FIFO)\n", 5},
      {"the trace to a full device", kTuner + " --trace-text --duration 5 >/dev/full", 1,
       "drovane: write error: No space left on device\n", -1},
      {"the trace to a closed stdout", kTuner + " --trace-text --duration 5 >&-", 1,
       "drovane: write error: Bad file descriptor\n", -1},
      {"help to a full device", std::string(DROVANE_TUNER) + " --help >/dev/full", 1,
       "drovane: write error: No space left on device\n", -1},
      {"a capture file at a rate the tuner cannot take",
       std::string(DROVANE_TUNER) + " --screen headless --trace-text --duration 5 --capture " + rate, 1,
       "drovane: the capture device " + rate +
           " could not be opened (sample rate 3000 Hz is not supported (at least 4000 Hz))\n",
       0},
      {"a script that is a folder", kTuner + " --script /tmp", 1, "drovane: cannot read script '/tmp': Is a directory\n",
       -1},
  };
  for (const auto &c : cases) {
    const Outcome r = RunScript(c.script);
    EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
    EXPECT_EQ(r.err, c.err) << c.what;
    EXPECT_EQ(!r.out.empty(), c.ended >= 0) << c.what << ": " << r.out;
    if (c.ended >= 0) {
      EXPECT_EQ(ParseTrace(r.out).back().time, c.ended) << c.what;
    }
  }
}

// A FIFO with a reader takes what a file would: the WAV, its length left
// open as streams give it, and the screenshot.
TEST(TunerOutput, AFifoWithAReaderTakesTheSoundAndTheScreen) {
  const std::string wav = OutputPath("read.wav"), png = OutputPath("read.png");
  const std::string gotWav = OutputPath("got.wav"), gotPng = OutputPath("got.png");
  const Outcome r = RunScript("rm -f " + wav + " " + png + " && mkfifo " + wav + " " + png + " && (cat " + wav +
                              " >" + gotWav + " &) && (cat " + png + " >" + gotPng + " &) && " + kTuner +
                              " --duration 4 --script " + Script("0.2 key 1\n") + " --playback " + wav +
                              " --screenshot " + png + "; s=$?; wait; exit $s");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ReadSound(gotWav), LowE());
  EXPECT_TRUE(Png(gotPng).Ok());
}

// A full disk: the WAV keeps the samples that fitted, finalised, and the run
// ends there; a screenshot that does not fit is not left half written.
TEST(TunerOutput, AFullDiskKeepsWhatFittedAndEndsTheRun) {
  const std::string folder = OutputPath("full");
  Mount full(folder, "size=100k");
  if (!full.Ok()) GTEST_SKIP() << full.Why();
  const std::string wav = folder + "/tones.wav";
  const Outcome r = RunScript(kTuner + " --trace-text --duration 8 --playback " + wav + " --script " +
                              Script("0.5 key 1\n4.0 key 2\n"));
  EXPECT_EQ(r.status, 1);
  unsigned long long kept = 0;
  const std::string said = "drovane: cannot write '" + wav + "': No space left on device; it keeps the first ";
  ASSERT_EQ(r.err.rfind(said, 0), 0u) << r.err;
  ASSERT_EQ(std::sscanf(r.err.c_str() + said.size(), "%*f s (%llu samples) played\n", &kept), 1) << r.err;
  struct stat st;
  ASSERT_EQ(stat(wav.c_str(), &st), 0);
  EXPECT_EQ(static_cast<unsigned long long>(st.st_size), 44 + 2 * kept) << "the header counts what the file holds";
  const std::vector<short> played = ReadSound(wav), lowE = LowE();
  ASSERT_EQ(played.size(), kept);
  EXPECT_TRUE(std::equal(played.begin(), played.end(), lowE.begin())) << "the low E as far as it fitted";
  const std::vector<TraceLine> trace = ParseTrace(r.out);
  ASSERT_FALSE(trace.empty());
  EXPECT_LT(trace.back().time, 4.0) << "ended before the second tone";

  const std::string png = folder + "/shot.png";
  const Outcome shot = RunScript(kTuner + " --duration 1 --screenshot " + png);
  EXPECT_EQ(shot.status, 1);
  EXPECT_EQ(shot.err, "drovane: cannot write screenshot '" + png + "': No space left on device\n");
  EXPECT_NE(stat(png.c_str(), &st), 0) << "no half-written picture";
}

// Without a display the last screen goes to the current folder, or, where
// that cannot take it, the run says so and goes on.
TEST(TunerOutput, TheDefaultScreenshotIsSkippedWhereTheFolderCannotTakeIt) {
  const std::string folder = OutputPath("read-only");
  Mount readOnly(folder, "ro,size=100k");
  if (!readOnly.Ok()) GTEST_SKIP() << readOnly.Why();
  const Outcome r = RunScript("cd " + folder + " && DISPLAY= WAYLAND_DISPLAY= " + DROVANE_TUNER +
                              " --capture silence --script " + Script("1.0 quit\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err,
            "drovane: no display, so the phone runs headless on the virtual clock: its texts follow on stdout, its "
            "last screen is not kept ('drovane-screen.png': Read-only file system)\n");
  EXPECT_NE(r.out.find("1.000\tcaption\t\n"), std::string::npos) << r.out;
}

}  // namespace
