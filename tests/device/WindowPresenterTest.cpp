// The device's SDL2 window on a real X server (Xvfb): its size, a key
// reaching the program, and closing the window ending it.
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "device/WindowPresenter.h"
#include "kernel/Platform.h"
#include "ToolRun.h"
#include "XvfbServer.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>

namespace {

std::string Capture(const std::string &command) {
  std::string out;
  if (FILE *p = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p)) out += buffer;
    pclose(p);
  }
  return out;
}

// What a desktop's close button does: WM_DELETE_WINDOW to the window.
void AskToClose(Display *x, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(x, window, False, NoEventMask, &event);
  XFlush(x);
}

bool ReadUntil(ChildProcess &child, const std::string &wanted) {
  for (std::string line; child.ReadLine(&line);)
    if (line.find(wanted) != std::string::npos) return true;
  return false;
}

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
  ASSERT_TRUE(ReadUntil(program, "STATIC\tG")) << "the program did not start: " << Slurp(errPath);

  // xdotool waits for the window's title; the guard only keeps a broken run from hanging.
  const std::string found =
      Capture(std::string(env).append(" timeout 60 xdotool search --sync --name '^Phone test$' 2>&1"));
  const Window window = std::strtoul(found.c_str(), nullptr, 10);
  ASSERT_NE(window, 0u) << found;
  Display *x = XOpenDisplay(server.display().c_str());
  ASSERT_NE(x, nullptr);
  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(x, window, &attributes));
  EXPECT_EQ(attributes.width, 480);
  EXPECT_EQ(attributes.height, 640);

  std::string press = env;
  press.append(" xdotool windowfocus --sync ").append(std::to_string(window)).append(" key 1");
  EXPECT_EQ(std::system(press.c_str()), 0);
  EXPECT_TRUE(ReadUntil(program, "keydown 49 | char 49 | keyup 49")) << "the key did not reach the program";

  AskToClose(x, window);
  XCloseDisplay(x);
  EXPECT_TRUE(ReadUntil(program, "caption\t")) << "the window's caption went away";
  EXPECT_EQ(program.Wait(), 0) << Slurp(errPath);
  std::printf("%s", Slurp(errPath).c_str());
}

TEST(WindowPresenterTest, AFailedStartOpensNoWindowAndSaysWhy) {
  platform::Reset(platform::ClockKind::Virtual);
  platform::FailCall("StartPresenter", 1, 0);
  std::string error;
  EXPECT_EQ(platform::device::WindowPresenter::Start(1, &error), nullptr);
  EXPECT_EQ(error, "the window could not be opened (injected failure)");
  platform::Reset(platform::ClockKind::Real);
}

}  // namespace
