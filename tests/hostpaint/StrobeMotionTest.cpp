// The strobe's offset follows the deviation over the clock's time, however
// the readings and the frames fall.
#include <gtest/gtest.h>

#include <cmath>

#include "hostpaint/StrobeMotion.h"

namespace {

TEST(StrobeMotionTest, TheOffsetIntegratesEachReadingsDeviationOverTheTimeItHeld) {
  StrobeMotion m;
  EXPECT_EQ(m.Offset(1000), 0);
  m.Set(true, 0.5, 1000);
  EXPECT_DOUBLE_EQ(m.Offset(1000), 0);
  EXPECT_DOUBLE_EQ(m.Offset(2000), 0.5);  // half a band in a second at half a cent
  // A reading changes the speed from its time on, not before.
  m.Set(true, -0.25, 2000);
  EXPECT_DOUBLE_EQ(m.Offset(3000), 0.25);
  // Flat past the start wraps to just under two bands.
  EXPECT_DOUBLE_EQ(m.Offset(4000), 0.0);
  EXPECT_DOUBLE_EQ(m.Offset(5000), 1.75);
  // Readings at any pace give the same offset as one held reading.
  StrobeMotion often, once;
  once.Set(true, 3, 0);
  often.Set(true, 3, 0);
  for (uint32_t ms = 45; ms < 1000; ms += 45) often.Set(true, 3, ms);
  EXPECT_NEAR(often.Offset(1000), once.Offset(1000), 1e-9);
  EXPECT_NEAR(once.Offset(1000), 1.0, 1e-12);
}

TEST(StrobeMotionTest, SilenceHoldsTheBandsWhereTheyStoodAndTheTickCountMayWrap) {
  StrobeMotion m;
  m.Set(true, 1, 0xFFFFFC18u);  // a second before the count wraps
  EXPECT_DOUBLE_EQ(m.Offset(0), 1.0);
  m.Set(false, 7, 500);
  EXPECT_FALSE(m.Heard());
  EXPECT_DOUBLE_EQ(m.Offset(500), 1.5);
  EXPECT_DOUBLE_EQ(m.Offset(90000), 1.5);
  // A reading that is not a number is none.
  m.Set(true, std::nan(""), 600);
  EXPECT_FALSE(m.Heard());
  EXPECT_DOUBLE_EQ(m.Offset(9000), 1.5);
}

}  // namespace
