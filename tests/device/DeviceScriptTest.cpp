// The device running a small program headless on the virtual clock with a
// script: what reached the program's window procedure (it shows it as text),
// what the screen's texts said, and what the screenshots show.
#include <cairo.h>
#include <gtest/gtest.h>

#include <fstream>

#include "ToolRun.h"
#include "shell/ShellLook.h"
#include "user/ScreenGeometry.h"
#include "win/gdi.h"

namespace {

using platform::shell::kHighlight;
using platform::shell::kRule;
constexpr COLORREF kStrip = platform::shell::kStripBack, kWhite = RGB(255, 255, 255);

COLORREF PixelOf(const std::string &png, int x, int y) {
  cairo_surface_t *s = cairo_image_surface_create_from_png(png.c_str());
  COLORREF c = CLR_INVALID;
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(s);
    const auto *row = reinterpret_cast<const uint32_t *>(cairo_image_surface_get_data(s) +
                                                         y * cairo_image_surface_get_stride(s));
    c = RGB((row[x] >> 16) & 0xFF, (row[x] >> 8) & 0xFF, row[x] & 0xFF);
  }
  cairo_surface_destroy(s);
  return c;
}

std::string WriteScript(const std::string &name, const std::string &text) {
  const std::string path = OutputPath(name);
  std::ofstream(path) << text;
  return path;
}

std::string Scenario(const std::string &run) {
  const std::string shot = OutputPath(run);
  return "# keys, the stylus, the soft keys, the pop-up menu and a message box\n"
         "0.5 screenshot " + shot + "-start.png\n"
         "1.0 key 1\n"
         "1.5 tap 120 150   # on the window, below the caption\n"
         "2.0 key softright\n"
         "2.5 screenshot " + shot + "-menu.png\n"
         "3.0 key down\n"
         "3.5 key enter\n"
         "4.0 key back\n"
         "4.5 key softright\n"
         "4.6 key 3\n"
         "5.0 screenshot " + shot + "-message.png\n"
         "5.5 key enter\n"
         "5.6 screenshot " + shot + "-after.png\n"
         "6.0 tap 220 12   # the caption's OK box\n";
}

const char kHeard[] = "heard: | keydown 49 | char 49 | keyup 49 | down 120,126 | up 120,126";

TEST(DeviceScriptTest, AScriptedRunReachesTheProgramAndShowsTheShellInTheTraceAndTheScreenshots) {
  const std::string script = WriteScript("scenario.txt", Scenario("a"));
  const std::string options = "--screen headless --capture silence --trace-text --script " + script;
  Outcome run = RunTool(PHONE_TEST_PROGRAM, options);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string heard = kHeard;
  EXPECT_EQ(run.out, "0.000\tcaption\tPhone test | OK\n"
                     "0.000\tsoftkeys\tClose | Menu\n"
                     "0.000\tPhone test\theard:\n"
                     "0.000\tSTATIC\tG\n"
                     "1.000\tPhone test\theard: | keydown 49 | char 49 | keyup 49\n"
                     "1.500\tPhone test\t" + heard + "\n"
                     "2.000\tmenu\t1 First | - | 2 Second | 3 About\n"
                     "3.500\tmenu\t\n"
                     "3.500\tPhone test\t" + heard + " | command 711\n"
                     "4.000\tPhone test\t" + heard + " | command 711 | hotkey 27/0 | hotkey 27/4096\n"
                     "4.500\tmenu\t1 First | - | 2 Second | 3 About\n"
                     "4.600\tmenu\t\n"
                     "4.600\tmessage\tAbout | Phone test\\nversion 1 | OK\n"
                     "5.500\tmessage\t\n"
                     "5.500\tPhone test\t" + heard + " | command 711 | hotkey 27/0 | hotkey 27/4096 | command 705\n"
                     "6.000\tcaption\t\n"
                     "6.000\tsoftkeys\t\n"
                     "6.000\tPhone test\t\n"
                     "6.000\tSTATIC\t\n");

  const std::string start = OutputPath("a-start.png"), menu = OutputPath("a-menu.png");
  const std::string message = OutputPath("a-message.png"), after = OutputPath("a-after.png");
  EXPECT_EQ(PixelOf(start, 100, 10), kStrip) << "the caption strip";
  EXPECT_EQ(PixelOf(start, 206, 10), kWhite) << "the OK box's frame";
  EXPECT_EQ(PixelOf(start, 100, platform::kSoftKeyTop + 6), kStrip) << "the soft-key bar";
  EXPECT_EQ(PixelOf(start, platform::kScreenWidth / 2, platform::kSoftKeyTop + 6), kRule)
      << "between the soft keys";
  EXPECT_EQ(PixelOf(start, 1, 95), kWhite) << "the STATIC hint";
  EXPECT_EQ(PixelOf(menu, 230, 230), kHighlight) << "the first item highlighted";
  EXPECT_EQ(PixelOf(menu, 190, 249), kRule) << "the separator";
  EXPECT_EQ(PixelOf(message, 120, 200), kWhite);
  EXPECT_EQ(PixelOf(message, 200, 10), kStrip) << "the box's caption over the strip";
  EXPECT_EQ(PixelOf(after, 150, 230), kWhite) << "the window painted again where the menu was";
  EXPECT_EQ(PixelOf(after, 200, 10), kStrip);

  // The same script again: the same trace and screenshots, byte for byte.
  const std::string again = WriteScript("scenario-again.txt", Scenario("b"));
  Outcome second = RunTool(PHONE_TEST_PROGRAM, "--screen headless --capture silence --trace-text --script " + again);
  EXPECT_EQ(second.out, run.out);
  for (const char *shot : {"-start.png", "-menu.png", "-message.png", "-after.png"})
    EXPECT_EQ(Slurp(OutputPath(std::string("b") + shot)), Slurp(OutputPath(std::string("a") + shot))) << shot;
}

TEST(DeviceScriptTest, QuitClosesTheWindowAndTheDurationEndsARunThatNeverQuits) {
  const std::string script = WriteScript("quit.txt", "0.2 key 5\n0.4 quit\n0.9 key 6\n");
  Outcome quit = RunTool(PHONE_TEST_PROGRAM, "--screen headless --capture demo --trace-text --script " + script);
  EXPECT_EQ(quit.status, 0) << quit.err;
  EXPECT_NE(quit.out.find("0.400\tcaption\t\n"), std::string::npos) << quit.out;
  EXPECT_EQ(quit.out.find("keydown 54"), std::string::npos) << "nothing after quit";

  const std::string shot = OutputPath("duration.png");
  Outcome timed =
      RunTool(PHONE_TEST_PROGRAM, "--screen headless --capture silence --duration 2.5 --screenshot " + shot);
  EXPECT_EQ(timed.status, 0) << timed.err;
  EXPECT_EQ(timed.out, "") << "no trace unless asked for";
  EXPECT_EQ(PixelOf(shot, 100, 10), kStrip) << "the screen at exit, before the window closed";
}

}  // namespace
