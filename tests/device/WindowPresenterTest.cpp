// The device's SDL2 window on a real X server (Xvfb): its size, a key
// reaching the program, and closing the window ending it.
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "device/WindowPresenter.h"
#include "kernel/Platform.h"
#include "phone/Phone.h"
#include "ToolRun.h"
#include "XvfbServer.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include "DesktopWindow.h"
#include <X11/Xutil.h>

namespace {

TEST(WindowPresenterTest, TheWindowHasItsSizeTakesKeysAndClosingItEndsTheProgram) {
  XvfbServer server(OutputPath("xvfb-runtime"));
  if (server.display().empty()) GTEST_SKIP() << "no X server for the window: " << server.why();
  const std::string env = std::string("DISPLAY=").append(server.display());
  const std::string errPath = OutputPath("presenter.err");
  ChildProcess program(PHONE_TEST_PROGRAM,
                       {"--screen", "window", "--scale", "2", "--capture", "silence", "--playback", "null",
                        "--trace-text"},
                       // SDL's X11 and D-Bus libraries leave a few allocations behind at
                       // exit, which a sanitizer build would report as the program's leaks.
                       {env, "DROVANE_PRESENTER_STATS=1", "SDL_AUDIODRIVER=dummy",
                        "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"},
                       errPath);
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(program.ReadUntil("STATIC\tG")) << "the program did not start: " << Slurp(errPath);

  std::string said;
  const Window window = FindWindowByTitle(env, "Phone test", &said);
  ASSERT_NE(window, 0u) << said;
  Display *x = XOpenDisplay(server.display().c_str());
  ASSERT_NE(x, nullptr);
  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(x, window, &attributes));
  EXPECT_EQ(attributes.width, 480);
  EXPECT_EQ(attributes.height, 640);

  std::string press = env;
  press.append(" xdotool windowfocus --sync ").append(std::to_string(window)).append(" key 1");
  EXPECT_EQ(std::system(press.c_str()), 0);
  EXPECT_TRUE(program.ReadUntil("keydown 49 | char 49 | keyup 49")) << "the key did not reach the program";

  AskToClose(x, window);
  XCloseDisplay(x);
  EXPECT_TRUE(program.ReadUntil("caption\t")) << "the window's caption went away";
  EXPECT_EQ(program.Wait(), 0) << Slurp(errPath);
  std::printf("%s", Slurp(errPath).c_str());
}

// The window's pixel at (x, y) as the server shows it.
unsigned long PixelOnServer(Display *x, Window window, int px, int py) {
  XImage *image = XGetImage(x, window, px, py, 1, 1, AllPlanes, ZPixmap);
  if (!image) return ~0ul;
  const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
  XDestroyImage(image);
  return pixel;
}

// The next line of the trace that tells of a stylus press.
std::string NextPress(ChildProcess &program) {
  for (std::string line; program.ReadLine(&line);)
    if (line.find("down ") != std::string::npos) return line.substr(line.find("down "), 12);
  return "";
}

TEST(WindowPresenterTest, OnAScreenSmallerThanThePhoneTheWindowFitsSaysSoAndAResizedOneKeepsItsAspect) {
  XvfbServer server(OutputPath("xvfb-small-runtime"), "320x240x24");
  if (server.display().empty()) GTEST_SKIP() << "no X server for the window: " << server.why();
  const std::string env = std::string("DISPLAY=").append(server.display());
  const std::string errPath = OutputPath("presenter-small.err");
  ChildProcess program(PHONE_TEST_PROGRAM, {"--screen", "window", "--capture", "silence", "--playback", "null",
                                            "--trace-text"},
                       {env, "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"}, errPath);
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(program.ReadUntil("STATIC\tG")) << "the program did not start: " << Slurp(errPath);
  EXPECT_NE(Slurp(errPath).find("the screen's usable area (320x240) is smaller than the phone's screen (240x320): "
                                "the window shows it at 144x192"),
            std::string::npos)
      << Slurp(errPath);

  std::string said;
  const Window window = FindWindowByTitle(env, "Phone test", &said);
  ASSERT_NE(window, 0u) << said;
  Display *x = XOpenDisplay(server.display().c_str());
  ASSERT_NE(x, nullptr);
  // Whole on the screen, caption and soft keys included.
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(x, window, &a));
  int left = -1, top = -1;
  Window child;
  XTranslateCoordinates(x, window, DefaultRootWindow(x), 0, 0, &left, &top, &child);
  EXPECT_EQ(a.width, 144);
  EXPECT_EQ(a.height, 192);
  EXPECT_GE(left, 0);
  EXPECT_GE(top, 0);
  EXPECT_LE(left + a.width, 320);
  EXPECT_LE(top + a.height, 240);

  // Made wider than the phone by the user (there is no window manager to
  // keep the size hints): the picture stays 3:4 in the middle, black beside.
  XMoveResizeWindow(x, window, 0, 20, 300, 200);
  XSync(x, False);
  bool letterboxed = false;
  for (int look = 0; look < 10000 && !letterboxed; ++look)
    letterboxed = PixelOnServer(x, window, 10, 100) == 0 && PixelOnServer(x, window, 290, 100) == 0 &&
                  PixelOnServer(x, window, 150, 100) == 0xFFFFFF && PixelOnServer(x, window, 76, 100) == 0xFFFFFF;
  EXPECT_TRUE(letterboxed) << "the picture is not 150x200 between black borders";

  // A press on the border is no stylus press; one on the picture is, at the
  // phone's pixel under it (120, 160: 136 in the window below the caption).
  const std::string at = env + " xdotool mousemove --window " + std::to_string(window);
  EXPECT_EQ(std::system((at + " 10 100 click 1").c_str()), 0);
  EXPECT_EQ(std::system((at + " 150 100 click 1").c_str()), 0);
  EXPECT_EQ(NextPress(program), "down 120,136");

  AskToClose(x, window);
  XCloseDisplay(x);
  EXPECT_EQ(program.Wait(), 0) << Slurp(errPath);
}

TEST(WindowPresenterTest, AScaleTooLargeForTheDesktopGivesWayAndSaysSo) {
  XvfbServer server(OutputPath("xvfb-scale-runtime"));
  if (server.display().empty()) GTEST_SKIP() << "no X server for the window: " << server.why();
  const std::string env = std::string("DISPLAY=").append(server.display());
  const std::string errPath = OutputPath("presenter-scale.err");
  ChildProcess program(PHONE_TEST_PROGRAM, {"--screen", "window", "--scale", "5", "--capture", "silence",
                                            "--playback", "null", "--trace-text"},
                       {env, "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"}, errPath);
  ASSERT_TRUE(program.Started());
  ASSERT_TRUE(program.ReadUntil("STATIC\tG")) << "the program did not start: " << Slurp(errPath);
  EXPECT_NE(Slurp(errPath).find("--scale 5 does not fit the screen's usable area (1280x1024): the window is "
                                "enlarged 3 times instead"),
            std::string::npos)
      << Slurp(errPath);
  std::string said;
  const Window window = FindWindowByTitle(env, "Phone test", &said);
  ASSERT_NE(window, 0u) << said;
  Display *x = XOpenDisplay(server.display().c_str());
  ASSERT_NE(x, nullptr);
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(x, window, &a));
  EXPECT_EQ(a.width, 720);
  EXPECT_EQ(a.height, 960);
  AskToClose(x, window);
  XCloseDisplay(x);
  EXPECT_EQ(program.Wait(), 0) << Slurp(errPath);
}

TEST(WindowPresenterTest, AFailedStartOpensNoWindowAndSaysWhy) {
  platform::Phone phone(platform::ClockKind::Virtual);
  platform::FailCall("StartPresenter", 1, 0);
  std::string error;
  EXPECT_EQ(platform::device::WindowPresenter::Start(1, &error), nullptr);
  EXPECT_EQ(error, "the window could not be opened (injected failure)");
}

}  // namespace
