// The tuner's window carries the class its desktop entry names
// (StartupWMClass), as a dock reads it with xprop: the dock then groups the
// window with the launcher it was started from.
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "TestOutput.h"
#include "XvfbServer.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include "DesktopWindow.h"

namespace {

std::string Output(const std::string &command) {
  std::string said;
  if (FILE *p = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p)) said += buffer;
    pclose(p);
  }
  return said;
}

std::string EntryValue(const std::string &entry, const std::string &key) {
  const size_t at = entry.find('\n' + key + '=');
  if (at == std::string::npos) return "";
  const size_t begin = at + key.size() + 2;
  return entry.substr(begin, entry.find('\n', begin) - begin);
}

TEST(TunerWindow, CarriesTheClassItsDesktopEntryNames) {
  const std::string wanted = EntryValue(Slurp(DROVANE_DESKTOP_ENTRY), "StartupWMClass");
  ASSERT_FALSE(wanted.empty()) << DROVANE_DESKTOP_ENTRY << " names no StartupWMClass";
  if (std::system("command -v xprop >/dev/null") != 0) GTEST_SKIP() << "xprop is not installed (x11-utils)";
  XvfbServer server(OutputPath("window-class-xvfb-runtime"));
  if (server.display().empty()) GTEST_SKIP() << "no X server for the window: " << server.why();
  const std::string env = "DISPLAY=" + server.display();
  const std::string errPath = OutputPath("window-class.err");
  ChildProcess tuner(DROVANE_TUNER,
                     {"--screen", "window", "--scale", "1", "--capture", "silence", "--playback", "null",
                      "--trace-text"},
                     {env, "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"}, errPath);
  ASSERT_TRUE(tuner.Started());
  ASSERT_TRUE(tuner.ReadUntil("STATIC\tG")) << "the tuner did not start: " << Slurp(errPath);
  std::string said;
  const Window window = FindWindowByTitle(env, "Drovane", &said);
  ASSERT_NE(window, 0u) << said;

  EXPECT_EQ(Output(env + " xprop -id " + std::to_string(window) + " WM_CLASS"),
            "WM_CLASS(STRING) = \"" + wanted + "\", \"" + wanted + "\"\n");

  Display *x = XOpenDisplay(server.display().c_str());
  ASSERT_NE(x, nullptr);
  AskToClose(x, window);
  XCloseDisplay(x);
  EXPECT_EQ(tuner.Wait(), 0) << Slurp(errPath);
}

}  // namespace
