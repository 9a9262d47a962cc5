// The device's command line as a user meets it: help, version, every option's
// bad values and every kind of malformed script line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "PulseServer.h"
#include "ToolRun.h"

namespace {

const std::string kProgram = PHONE_TEST_PROGRAM;
const std::string kHeadless = "--screen headless --capture silence ";

std::string WriteScript(const std::string &text) {
  const std::string path = OutputPath("options-script.txt");
  std::ofstream(path) << text;
  return path;
}

TEST(DeviceOptionsTest, HelpAndVersionGoToStdoutAndEndAtOnce) {
  Outcome help = RunTool(kProgram, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: phone_test_program [OPTION]...\n", 0), 0u) << help.out;
  for (const char *option : {"--screen", "--scale", "--clock", "--capture", "--playback", "--list-devices", "--script",
                             "--duration", "--screenshot", "--trace-text", "softright", "Exit status"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  EXPECT_EQ(RunTool(kProgram, "-h").out, help.out);
  Outcome version = RunTool(kProgram, "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "phone_test_program 1.0.0\n");
}

// Each bad command line: status 2, the reason and a pointer to --help on
// stderr, nothing on stdout and nothing run.
TEST(DeviceOptionsTest, EveryBadOptionIsAUsageErrorThatNamesWhatIsWrong) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"--frobnicate", "unknown option '--frobnicate'"},
      {"extra", "unexpected argument 'extra'"},
      {"--screen", "option '--screen' needs a value"},
      {"--screen tv", "invalid value 'tv' for --screen (expected window or headless)"},
      {"--scale 0", "invalid value '0' for --scale"},
      {"--scale 1.5", "invalid value '1.5' for --scale"},
      {"--screen headless --scale 2", "--scale is for the window"},
      {"--clock slow", "invalid value 'slow' for --clock (expected real or virtual)"},
      {"--capture tone:x", "invalid value 'tone:x' for --capture"},
      {"--capture tone:5", "invalid value 'tone:5' for --capture"},
      {"--capture ''", "invalid value '' for --capture"},
      {"--playback out.mp3",
       "invalid value 'out.mp3' for --playback (expected live[:NAME], jack[:PORT], null or a FILE.wav)"},
      {"--clock virtual --capture live", "live audio follows the sound card, not the virtual clock"},
      {"--clock virtual --playback live:Speakers", "live audio follows the sound card"},
      {"--clock virtual --capture jack", "live audio follows the sound card, not the virtual clock"},
      {"--clock virtual --playback jack:system:playback_1", "live audio follows the sound card"},
      {"--duration -1", "invalid value '-1' for --duration"},
      {"--duration=soon", "invalid value 'soon' for --duration"},
      {"--duration 1e7", "invalid value '1e7' for --duration (expected seconds, from 0 to 1000000)"},
      {"--scale 1e1", "invalid value '1e1' for --scale (expected a whole number from 1 to 16)"},
      {"--scale 0x10", "invalid value '0x10' for --scale"},
      {"--screenshot shot.jpg", "invalid value 'shot.jpg' for --screenshot (expected a FILE.png)"},
      {"--trace-text=yes", "option '--trace-text' takes no value"},
  };
  for (const auto &[args, message] : cases) {
    Outcome run = RunTool(kProgram, args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_EQ(run.err.rfind("phone_test_program: " + message, 0), 0u) << args << ": " << run.err;
    EXPECT_NE(run.err.find("Try 'phone_test_program --help'"), std::string::npos) << args;
    EXPECT_EQ(run.out, "") << args;
  }
}

// Every option takes its value as the next word or after '=', alike; '--'
// ends the options, and the device takes no operands.
TEST(DeviceOptionsTest, EveryOptionTakesItsValueEitherWayAndDoubleDashEndsThem) {
  const std::string script = WriteScript("0.2 key 1\n0.3 screenshot " + OutputPath("scripted.png") + "\n");
  const std::string shot = OutputPath("grammar.png");
  const std::vector<std::pair<std::string, std::string>> options{
      {"screen", "headless"}, {"clock", "virtual"},       {"capture", "tone:196"}, {"playback", "null"},
      {"script", script},     {"duration", "0.5"},        {"screenshot", shot}};
  std::string spaced, joined;
  for (const auto &[name, value] : options) {
    spaced += " --" + name + " " + value;
    joined += " --" + name + "=" + value;
  }
  const Outcome apart = RunTool(kProgram, spaced + " --trace-text");
  ASSERT_EQ(apart.status, 0) << apart.err;
  EXPECT_NE(apart.out.find("0.200\tPhone test\theard: | keydown 49"), std::string::npos) << apart.out;
  std::remove(shot.c_str());
  const Outcome together = RunTool(kProgram, joined + " --trace-text");
  EXPECT_EQ(together.status, 0) << together.err;
  EXPECT_EQ(together.out, apart.out);
  EXPECT_FALSE(Slurp(shot).empty()) << "--screenshot=FILE";
  const Outcome ended = RunTool(kProgram, kHeadless + "-- --duration 1");
  EXPECT_EQ(ended.status, 2);
  EXPECT_EQ(ended.err.rfind("phone_test_program: unexpected argument '--duration'", 0), 0u) << ended.err;
}

TEST(DeviceOptionsTest, EveryMalformedScriptLineIsNamedByNumberAndNothingRuns) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"soon key 1", "line 2: 'soon' is not a time in seconds"},
      {"-1 key 1", "line 2: '-1' is not a time in seconds"},
      {"1.0", "line 2: no action after the time"},
      {"1.0 jump", "line 2: unknown action 'jump' (actions: key keydown keyup tap press release screenshot quit)"},
      {"1.0 key", "line 2: 'key' needs an argument"},
      {"1.0 key star", "line 2: unknown key 'star' (keys: 0-9 up down left right enter back softleft softright)"},
      {"1.0 keyup 10", "line 2: unknown key '10'"},
      {"1.0 tap 5", "line 2: 'tap' needs X and Y"},
      {"1.0 press a b", "line 2: 'a b' are not whole pixels"},
      {"1.0 tap 240 10", "line 2: (240, 10) lies outside the 240x320 screen"},
      {"1.0 release 0 -1", "line 2: (0, -1) lies outside the 240x320 screen"},
      {"1.0 quit now", "line 2: too many arguments for 'quit'"},
      {"1.0 screenshot", "line 2: 'screenshot' needs an argument"},
      // Times the clock cannot hold, and bytes a terminal would act on.
      {"1e300 quit", "line 2: '1e300' is not a time in seconds (from 0 to 1000000)"},
      {"9.3e9 quit", "line 2: '9.3e9' is not a time in seconds"},
      {"1000000.5 quit", "line 2: '1000000.5' is not a time in seconds"},
      {"inf quit", "line 2: 'inf' is not a time in seconds"},
      {"1.0 key \x01\x1b[2J", "line 2: unknown key '\\x01\\x1b[2J'"},
      {std::string("1.0 key a\0b", 11), "line 2: unknown key 'a\\x00b' (keys:"},
  };
  for (const auto &[line, message] : cases) {
    const std::string script = WriteScript("0.1 key 1  # fine\n" + line + "\n2.0 quit\n");
    Outcome run = RunTool(kProgram, kHeadless + "--trace-text --script " + script);
    EXPECT_EQ(run.status, 2) << line;
    EXPECT_EQ(run.err.rfind("phone_test_program: " + script + ": " + message, 0), 0u) << line << ": " << run.err;
    EXPECT_EQ(run.out, "") << "nothing ran for: " << line;
  }
}

// A script is read whole before the run, up to 1 MiB: a file given by
// mistake is refused, and a long one is scheduled without cost growing with
// its square (many actions at one time were the worst case).
TEST(DeviceOptionsTest, AScriptIsBoundedAndManyActionsAtOneTimeAllRun) {
  const Outcome endless = RunTool(kProgram, kHeadless + "--script /dev/zero");
  EXPECT_EQ(endless.status, 2);
  EXPECT_EQ(endless.err.rfind("phone_test_program: cannot read script '/dev/zero': longer than a script may be "
                              "(1 MiB)\n", 0), 0u) << endless.err;
  std::string many;
  for (int i = 0; i < 50000; ++i) many += "1 key 1\n";
  const Outcome run = RunTool(kProgram, kHeadless + "--trace-text --script " + WriteScript(many + "1.5 quit\n"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("1.000\tPhone test\theard: | keyup 49 | keydown 49 | char 49 | keyup 49 | keydown 49 | char 49"),
            std::string::npos) << "each character right after its key";
}

TEST(DeviceOptionsTest, WhatTheDeviceCannotDoIsAFailureWithItsReason) {
  Outcome missing = RunTool(kProgram, kHeadless + "--script " + OutputPath("no-such-script.txt"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot read script"), std::string::npos) << missing.err;
  Outcome sound = RunTool(kProgram, "--screen headless --capture " + OutputPath("no-such.wav"));
  EXPECT_EQ(sound.status, 1);
  EXPECT_NE(sound.err.find("cannot read '" + OutputPath("no-such.wav") + "'"), std::string::npos) << sound.err;
  Outcome shot = RunTool(kProgram, kHeadless + "--duration 0.5 --screenshot /no/such/folder/s.png");
  EXPECT_EQ(shot.status, 1);
  EXPECT_EQ(shot.err, "phone_test_program: cannot write '/no/such/folder/s.png': No such file or directory\n");
  Outcome window = RunTool("DISPLAY= WAYLAND_DISPLAY= " + kProgram, "--screen window");
  EXPECT_EQ(window.status, 1);
  EXPECT_NE(window.err.find("no display could be opened"), std::string::npos) << window.err;
  Outcome live = RunTool(kProgram, "--screen headless --clock real --capture live:NoSuchMicrophone");
  EXPECT_EQ(live.status, 1);
  EXPECT_EQ(live.err.rfind("phone_test_program: no audio capture device ", 0), 0u) << live.err;
}

// --list-devices names what the sound server offers, on a PulseAudio server
// of the test's own: its null sink, and that sink's monitor as a capture
// device. With no server to reach it says so and fails.
TEST(DeviceOptionsTest, ListDevicesNamesTheSoundServersDevicesOrSaysWhyNone) {
  Outcome none = RunTool("PULSE_SERVER=unix:/nonexistent SDL_AUDIODRIVER=pulseaudio " + kProgram, "--list-devices");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err.rfind("phone_test_program: no audio capture device found: no audio system is available", 0), 0u)
      << none.err;
  EXPECT_EQ(none.out, "");

  PulseServer server;
  if (!server.Ok()) GTEST_SKIP() << server.Why();
  std::string env;
  for (const std::string &e : server.Env()) env += e + " ";
  Outcome devices = RunTool(env + kProgram, "--list-devices");
  EXPECT_EQ(devices.status, 0) << devices.err;
  EXPECT_EQ(devices.err, "");
  const std::vector<std::string> lines = Lines(devices.out);
  for (const char *device : {"capture\tlive:Monitor of Null Output", "playback\tlive:Null Output"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), device), lines.end()) << device << " in:\n" << devices.out;
  for (const std::string &line : lines)
    EXPECT_TRUE(line.rfind("capture\t", 0) == 0 || line.rfind("playback\t", 0) == 0) << line;
}

// Without a display and without --screen the device says so in one line,
// and in another that it listens to the demo; it runs headless, traces and leaves the last screen in a file.
TEST(DeviceOptionsTest, WithNoDisplayItFallsBackToAHeadlessDemoRunThatLeavesItsScreen) {
  const std::string dir = OutputPath("fallback");
  std::system(("mkdir -p " + dir + " && rm -f " + dir + "/drovane-screen.png").c_str());
  const std::string script = WriteScript("1.0 quit\n");
  Outcome run = RunTool("cd " + dir + " && DISPLAY= WAYLAND_DISPLAY= " + kProgram, "--script " + script);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err,
            "phone_test_program: no display, so the phone runs headless on the virtual clock: its texts follow on "
            "stdout, its last screen goes to drovane-screen.png\n"
            "phone_test_program: a simulated run has no microphone; listening to the built-in demo recording\n");
  EXPECT_EQ(run.out.rfind("0.000\tcaption\tPhone test | OK\n", 0), 0u) << run.out;
  EXPECT_FALSE(Slurp(dir + "/drovane-screen.png").empty());
}

}  // namespace
