// Where the window goes on desktops of every size, and where its picture
// and the stylus go in a window of any size.
#include <gtest/gtest.h>

#include "device/WindowFit.h"

namespace {

using platform::device::Area;
using platform::device::FitWindow;
using platform::device::Letterbox;
using platform::device::PhonePoint;

void ExpectInside(const Area &w, const Area &usable) {
  EXPECT_GE(w.x, usable.x);
  EXPECT_GE(w.y, usable.y);
  EXPECT_LE(w.x + w.w, usable.x + usable.w);
  EXPECT_LE(w.y + w.h, usable.y + usable.h);
}

TEST(WindowFitTest, AScaleFitsTheUsableAreaAndOneThatDoesNotIsSaid) {
  const Area desktop{0, 0, 1280, 1024};
  // The largest whole factor that leaves room for a frame: 3 (976 high).
  auto fit = FitWindow(0, desktop);
  EXPECT_EQ(fit.window.w, 720);
  EXPECT_EQ(fit.window.h, 960);
  EXPECT_EQ(fit.note, "");
  ExpectInside(fit.window, desktop);
  EXPECT_EQ(FitWindow(2, desktop).window.h, 640);
  EXPECT_EQ(FitWindow(2, desktop).note, "");
  fit = FitWindow(5, desktop);
  EXPECT_EQ(fit.window.w, 720);
  EXPECT_EQ(fit.note,
            "--scale 5 does not fit the screen's usable area (1280x1024): the window is enlarged 3 times instead");
  // A panel takes the top of the screen: the window stays below it, and 3
  // no longer fits.
  const Area panelled{0, 40, 1280, 984};
  fit = FitWindow(0, panelled);
  EXPECT_EQ(fit.window.h, 640);
  ExpectInside(fit.window, panelled);
  EXPECT_EQ(FitWindow(4, Area{0, 0, 800, 600}).note,
            "--scale 4 does not fit the screen's usable area (800x600): the window is enlarged 1 time instead");
  // A display that does not tell its area keeps the scale asked.
  fit = FitWindow(5, Area{});
  EXPECT_EQ(fit.window.w, 1200);
  EXPECT_EQ(fit.note, "");
}

TEST(WindowFitTest, AScreenSmallerThanThePhoneShowsItSmallerOnScreen) {
  const Area tiny{0, 0, 320, 240};
  for (int scale : {0, 1, 3}) {
    const auto fit = FitWindow(scale, tiny);
    ExpectInside(fit.window, tiny);
    EXPECT_EQ(fit.window.w * 4, fit.window.h * 3) << "the phone's aspect";
    EXPECT_EQ(fit.window.h, 240 - 48);
    EXPECT_EQ(fit.note, "the screen's usable area (320x240) is smaller than the phone's screen (240x320): the window "
                        "shows it at 144x192");
  }
  // Narrow rather than short: the width decides.
  const auto narrow = FitWindow(0, Area{10, 0, 200, 1000});
  EXPECT_EQ(narrow.window.w, 200);
  EXPECT_EQ(narrow.window.h, 266);
  ExpectInside(narrow.window, Area{10, 0, 200, 1000});
}

TEST(WindowFitTest, ThePictureKeepsItsAspectInAnyWindowAndTheStylusFollowsIt) {
  const Area exact = Letterbox(480, 640);
  EXPECT_EQ(exact.x, 0);
  EXPECT_EQ(exact.w, 480);
  EXPECT_EQ(exact.h, 640);
  // Too wide: black at the sides.
  const Area wide = Letterbox(300, 200);
  EXPECT_EQ(wide.w, 150);
  EXPECT_EQ(wide.h, 200);
  EXPECT_EQ(wide.x, 75);
  EXPECT_EQ(wide.y, 0);
  // Too tall: black above and below.
  const Area tall = Letterbox(240, 400);
  EXPECT_EQ(tall.w, 240);
  EXPECT_EQ(tall.h, 320);
  EXPECT_EQ(tall.y, 40);

  int x = -1, y = -1;
  EXPECT_TRUE(PhonePoint(wide, 75, 0, &x, &y));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_TRUE(PhonePoint(wide, 150, 100, &x, &y));
  EXPECT_EQ(x, 120);
  EXPECT_EQ(y, 160);
  EXPECT_TRUE(PhonePoint(wide, 224, 199, &x, &y));
  EXPECT_EQ(x, 238);
  EXPECT_EQ(y, 318);
  // On the border: no point of the phone, the nearest edge for a drag.
  EXPECT_FALSE(PhonePoint(wide, 10, 50, &x, &y));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 80);
  EXPECT_FALSE(PhonePoint(wide, 299, 250, &x, &y));
  EXPECT_EQ(x, 239);
  EXPECT_EQ(y, 319);
}

}  // namespace

#include <random>
#include <utility>
#include <vector>

#include "device/FrameDamage.h"

namespace {

using platform::device::ChangedWithin;
using platform::device::InWindow;
using platform::device::Union;

TEST(FrameDamageTest, OnlyThePixelsThatChangedWithinWhatWasDrawnAreShownAgainWhereTheyLand) {
  std::vector<uint32_t> before(240 * 320, 0xF5F5F5), now = before;
  // Drawn on: the strobe's bands; changed: two pixels of them.
  const Area drawn{5, 136, 230, 64};
  EXPECT_EQ(ChangedWithin(now.data(), before.data(), drawn).w, 0);
  now[140 * 240 + 20] = 0xCA4200;
  now[150 * 240 + 100] = 0xCA4200;
  now[10 * 240 + 10] = 0;  // outside what was drawn: not looked at
  const Area changed = ChangedWithin(now.data(), before.data(), drawn);
  EXPECT_EQ(changed.x, 20);
  EXPECT_EQ(changed.y, 140);
  EXPECT_EQ(changed.w, 81);
  EXPECT_EQ(changed.h, 11);
  const Area both = Union(changed, Area{0, 0, 1, 1});
  EXPECT_EQ(both.x, 0);
  EXPECT_EQ(both.w, 101);
  EXPECT_EQ(both.h, 151);
  EXPECT_EQ(Union(Area{}, changed).x, 20);
  // Three times enlarged, 40 pixels below a letterbox border.
  const Area in = InWindow(Area{0, 40, 720, 960}, changed);
  EXPECT_EQ(in.x, 60);
  EXPECT_EQ(in.y, 40 + 420);
  EXPECT_EQ(in.w, 243);
  EXPECT_EQ(in.h, 33);
  // At a size that is no whole factor every window pixel reached is in.
  const Area odd = InWindow(Area{0, 0, 150, 200}, Area{1, 1, 1, 1});
  EXPECT_EQ(odd.x, 0);
  EXPECT_EQ(odd.w, 2);
}

bool Covers(const platform::device::FrameDamage &damage, int x, int y) {
  for (const Area &a : damage)
    if (a.x <= x && x < a.x + a.w && a.y <= y && y < a.y + a.h) return true;
  return false;
}

// A reading changes the text at the top and the needle far below: they are
// shown as two small areas, not as the bounds of both. Changes a few rows
// apart share one; scattered ones end in at most kMost areas, which still
// cover every changed pixel (and were they drawn across an area held, the
// two join).
TEST(FrameDamageTest, ChangesFarApartAreShownAsAreasOfTheirOwnThatCoverEveryChangedPixel) {
  using platform::device::ChangedAreas;
  using platform::device::FrameDamage;
  std::vector<uint32_t> before(240 * 320, 0xF5F5F5), now = before;
  auto Change = [&](int x, int y) { now[y * 240 + x] = 0x123456; };
  for (int x = 10; x < 60; ++x) Change(x, 30);      // a line of text
  for (int x = 0; x < 150; ++x) Change(x, 160);     // the needle
  Change(140, 164);                                 // its tip, a few rows down
  const FrameDamage two = ChangedAreas(now.data(), before.data(), Area{0, 0, 160, 320});
  ASSERT_EQ(two.end() - two.begin(), 2);
  int pixels = 0;
  for (const Area &a : two) pixels += a.w * a.h;
  EXPECT_EQ(pixels, 50 * 1 + 150 * 5);
  EXPECT_TRUE(Covers(two, 140, 164));
  EXPECT_TRUE(Covers(two, 10, 30));
  EXPECT_FALSE(Covers(two, 100, 100));

  std::mt19937 random(25);
  std::vector<std::pair<int, int>> changed;
  for (int i = 0; i < 40; ++i) {
    const int x = static_cast<int>(random() % 240), y = static_cast<int>(random() % 320);
    Change(x, y);
    changed.emplace_back(x, y);
  }
  FrameDamage many = ChangedAreas(now.data(), before.data(), Area{0, 0, 240, 320});
  EXPECT_LE(many.end() - many.begin(), FrameDamage::kMost);
  for (const auto &[x, y] : changed) EXPECT_TRUE(Covers(many, x, y)) << x << "," << y;
  many.Add(Area{0, 0, 240, 320});
  ASSERT_EQ(many.end() - many.begin(), 1);
  EXPECT_EQ(many.begin()->h, 320);
}

}  // namespace
