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

TEST(WindowPresenterTest, AFailedStartOpensNoWindowAndSaysWhy) {
  platform::Phone phone(platform::ClockKind::Virtual);
  platform::FailCall("StartPresenter", 1, 0);
  std::string error;
  EXPECT_EQ(platform::device::WindowPresenter::Start(1, &error), nullptr);
  EXPECT_EQ(error, "the window could not be opened (injected failure)");
}

}  // namespace
