// The tuner in its real window on an X server of its own (Xvfb): the window
// carries the class its desktop entry names, a key pressed with xdotool
// changes the string, closing the window ends it.
#include <gtest/gtest.h>

#include "TunerRun.h"
#include "XvfbServer.h"
#include "ChildProcess.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include "DesktopWindow.h"
#include <X11/Xutil.h>

namespace {

using namespace tuner;

// The pixels of the hint window (0, 70, 40, 20 in the client area) as the
// X server shows them, and as a screenshot holds them.
std::vector<unsigned long> HintOnServer(Display *x, Window window) {
  std::vector<unsigned long> pixels;
  XImage *image = XGetImage(x, window, 0, kCaption + 70, 40, 20, AllPlanes, ZPixmap);
  if (!image) return pixels;
  for (int y = 0; y < 20; ++y)
    for (int i = 0; i < 40; ++i) pixels.push_back(XGetPixel(image, i, y) & 0xFFFFFF);
  XDestroyImage(image);
  return pixels;
}

// A key's value in a desktop entry, or "".
std::string EntryValue(const std::string &entry, const std::string &key) {
  const size_t at = entry.find('\n' + key + '=');
  if (at == std::string::npos) return "";
  const size_t begin = at + key.size() + 2;
  return entry.substr(begin, entry.find('\n', begin) - begin);
}

std::vector<unsigned long> HintInShot(const Png &png) {
  std::vector<unsigned long> pixels;
  for (int y = kCaption + 70; y < kCaption + 90; ++y)
    for (int i = 0; i < 40; ++i) pixels.push_back(png.Pixel(i, y));
  return pixels;
}

TEST(TunerWindow, CarriesTheDesktopClassKeyOneChoosesTheLowEAndClosingTheWindowEndsIt) {
  // The hint a headless run shows after key 1, to compare the window with.
  const std::string headless = OutputPath("headless-e.png");
  const Outcome r = RunTuner("--capture silence --playback null --duration 1 --script " +
                             Script("0.5 key 1\n0.6 screenshot " + headless + "\n"));
  ASSERT_EQ(r.status, 0) << r.err;
  const Png expected(headless);
  ASSERT_TRUE(expected.Ok());

  XvfbServer server(OutputPath("tuner-xvfb-runtime"));
  if (server.display().empty()) GTEST_SKIP() << "no X server for the window: " << server.why();
  const std::string env = "DISPLAY=" + server.display();
  const std::string errPath = OutputPath("tuner-window.err");
  ChildProcess tuner(DROVANE_TUNER,
                     {"--screen", "window", "--scale", "1", "--capture", "silence", "--playback", "null",
                      "--trace-text"},
                     // SDL and the X libraries keep some memory to the end:
                     // not the tuner's to answer for in a sanitizer build.
                     {env, "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"}, errPath);
  ASSERT_TRUE(tuner.Started());
  ASSERT_TRUE(tuner.ReadUntil("STATIC\tG")) << "the tuner did not start: " << Slurp(errPath);

  std::string said;
  const Window window = FindWindowByTitle(env, "Drovane", &said);
  ASSERT_NE(window, 0u) << said;
  // Docks group the window with the launcher it came from by this class.
  const std::string wmClass = EntryValue(Slurp(DROVANE_DESKTOP_ENTRY), "StartupWMClass");
  ASSERT_FALSE(wmClass.empty()) << DROVANE_DESKTOP_ENTRY << " names no StartupWMClass";
  EXPECT_EQ(WindowClass(env, window), "WM_CLASS(STRING) = \"" + wmClass + "\", \"" + wmClass + "\"\n");
  EXPECT_EQ(std::system((env + " xdotool windowfocus --sync " + std::to_string(window) + " key 1").c_str()), 0);
  EXPECT_TRUE(tuner.ReadUntil("STATIC\tE")) << "the key did not reach the tuner";

  // The presenter draws on its own thread once the program is idle: read the
  // window back until the frame with the new hint has arrived.
  Display *x = XOpenDisplay(server.display().c_str());
  ASSERT_NE(x, nullptr);
  const std::vector<unsigned long> wanted = HintInShot(expected);
  bool shown = false;
  for (int look = 0; look < 10000 && !shown; ++look) shown = HintOnServer(x, window) == wanted;
  EXPECT_TRUE(shown) << "the window does not show the hint E";

  AskToClose(x, window);
  XCloseDisplay(x);
  EXPECT_EQ(tuner.Wait(), 0) << Slurp(errPath);
}

// Another client destroys the window (as `xdotool windowclose` does) while
// the tuner draws the demo's readings into it: its requests about the window
// that follow are refused by the server, and must not end it through Xlib's
// default handler (status 1): it ends as if closed.
TEST(TunerWindow, DestroyedFromOutsideWhileItDrawsItEndsAsIfClosed) {
  XvfbServer server(OutputPath("tuner-destroy-xvfb-runtime"));
  if (server.display().empty()) GTEST_SKIP() << "no X server for the window: " << server.why();
  const std::string env = "DISPLAY=" + server.display();
  const std::string errPath = OutputPath("tuner-destroyed.err");
  ChildProcess tuner(DROVANE_TUNER,
                     {"--screen", "window", "--scale", "2", "--capture", "demo", "--playback", "null", "--trace-text"},
                     {env, "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"}, errPath);
  ASSERT_TRUE(tuner.Started());
  // A reading on screen: the tuner is drawing.
  ASSERT_TRUE(tuner.ReadUntil(" Hz")) << "the tuner did not start: " << Slurp(errPath);
  std::string said;
  const Window window = FindWindowByTitle(env, "Drovane", &said);
  ASSERT_NE(window, 0u) << said;
  Display *x = XOpenDisplay(server.display().c_str());
  ASSERT_NE(x, nullptr);
  XDestroyWindow(x, window);
  XCloseDisplay(x);
  EXPECT_EQ(tuner.Wait(), 0) << Slurp(errPath);
  EXPECT_EQ(Slurp(errPath).find("X Error"), std::string::npos) << Slurp(errPath);
  EXPECT_EQ(Slurp(errPath).find("refused"), std::string::npos) << Slurp(errPath);
}

// The window shows only what changed of each frame: once the tuner has
// settled on a steady tone, the window holds, pixel for pixel, the screen a
// headless run settles on.
TEST(TunerWindow, WhatChangedAddsUpToTheWholeScreen) {
  const std::string headless = OutputPath("headless-a.png");
  const Outcome r = RunTuner("--capture tone:110 --playback null --duration 3 --screenshot " + headless);
  ASSERT_EQ(r.status, 0) << r.err;
  const Png expected(headless);
  ASSERT_TRUE(expected.Ok());

  XvfbServer server(OutputPath("tuner-frames-xvfb-runtime"));
  if (server.display().empty()) GTEST_SKIP() << "no X server for the window: " << server.why();
  const std::string env = "DISPLAY=" + server.display();
  const std::string errPath = OutputPath("tuner-frames.err");
  ChildProcess tuner(DROVANE_TUNER, {"--screen", "window", "--scale", "1", "--capture", "tone:110", "--playback", "null",
                                     "--trace-text"},
                     {env, "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"}, errPath);
  ASSERT_TRUE(tuner.Started());
  ASSERT_TRUE(tuner.ReadUntil("STATIC\tA")) << "the tuner did not hear the tone: " << Slurp(errPath);
  std::string said;
  const Window window = FindWindowByTitle(env, "Drovane", &said);
  ASSERT_NE(window, 0u) << said;
  Display *x = XOpenDisplay(server.display().c_str());
  ASSERT_NE(x, nullptr);
  int differing = -1;
  for (int look = 0; look < 500 && differing != 0; ++look) {
    XImage *image = XGetImage(x, window, 0, 0, 240, 320, AllPlanes, ZPixmap);
    if (!image) continue;
    differing = 0;
    for (int y = 0; y < 320; ++y)
      for (int i = 0; i < 240; ++i) differing += (XGetPixel(image, i, y) & 0xFFFFFF) != expected.Pixel(i, y);
    XDestroyImage(image);
  }
  EXPECT_EQ(differing, 0) << "pixels of the window unlike the headless screen";
  AskToClose(x, window);
  XCloseDisplay(x);
  EXPECT_EQ(tuner.Wait(), 0) << Slurp(errPath);
}

}  // namespace
