// Block and stretch copies, and DCs that draw on part of another bitmap.
#include <gtest/gtest.h>

#include "platform/GdiTestSupport.h"

using gditest::Canvas;
using gditest::kPaper;

namespace {

using GdiBlit = gditest::PhoneTest;

COLORREF Pattern(int x, int y) { return RGB(x * 10, y * 10, (x + y) % 2 ? 255 : 0); }

// Paints every pixel of the canvas with Pattern.
void Paint(Canvas &canvas) {
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x) {
      SetBkColor(canvas.dc(), Pattern(x, y));
      RECT r{x, y, x + 1, y + 1};
      ExtTextOutW(canvas.dc(), 0, 0, ETO_OPAQUE, &r, L"", 0, nullptr);
    }
}

// True when the w x h block at (x, y) shows Pattern from (sx, sy) on.
bool ShowsPattern(const Canvas &canvas, int x, int y, int w, int h, int sx, int sy) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (canvas.At(x + i, y + j) != Pattern(sx + i, sy + j)) return false;
  return true;
}

TEST_F(GdiBlit, BitBltCopiesExactlyTheBlockTheSourceHas) {
  Canvas source(10, 10), dest(20, 20);
  Paint(source);
  ASSERT_TRUE(BitBlt(dest.dc(), 5, 6, 4, 3, source.dc(), 2, 1, SRCCOPY));
  EXPECT_EQ(dest.Ink(), (RECT{5, 6, 9, 9}));
  EXPECT_TRUE(ShowsPattern(dest, 5, 6, 4, 3, 2, 1));

  dest.Fill(kPaper);
  BitBlt(dest.dc(), 0, 0, 20, 20, source.dc(), 6, -2, SRCCOPY);
  EXPECT_EQ(dest.Ink(), (RECT{0, 2, 4, 12}));
  EXPECT_TRUE(ShowsPattern(dest, 0, 2, 4, 10, 6, 0));
}

TEST_F(GdiBlit, OverlappingCopyWithinOneBitmap) {
  Canvas canvas(12, 12);
  Paint(canvas);
  BitBlt(canvas.dc(), 2, 3, 8, 8, canvas.dc(), 0, 0, SRCCOPY);
  EXPECT_TRUE(ShowsPattern(canvas, 2, 3, 8, 8, 0, 0));
  Paint(canvas);
  BitBlt(canvas.dc(), 0, 0, 8, 8, canvas.dc(), 3, 2, SRCCOPY);
  EXPECT_TRUE(ShowsPattern(canvas, 0, 0, 8, 8, 3, 2));
}

TEST_F(GdiBlit, StretchBltScalesByNearestPixel) {
  Canvas source(2, 2), dest(12, 12);
  Paint(source);
  ASSERT_TRUE(StretchBlt(dest.dc(), 2, 2, 8, 6, source.dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(dest.Ink(), (RECT{2, 2, 10, 8}));
  EXPECT_EQ(dest.Count(Pattern(0, 0), {2, 2, 6, 5}), 12);
  EXPECT_EQ(dest.Count(Pattern(1, 0), {6, 2, 10, 5}), 12);
  EXPECT_EQ(dest.Count(Pattern(0, 1), {2, 5, 6, 8}), 12);
  EXPECT_EQ(dest.Count(Pattern(1, 1), {6, 5, 10, 8}), 12);

  Canvas big(8, 8), small(4, 4);
  Paint(big);
  StretchBlt(small.dc(), 0, 0, 4, 4, big.dc(), 0, 0, 8, 8, SRCCOPY);
  // Shrinking by a whole factor keeps the first source pixel of each group.
  EXPECT_EQ(small.At(1, 2), Pattern(2, 4));
  EXPECT_EQ(small.At(3, 3), Pattern(6, 6));
}

TEST_F(GdiBlit, RefusedCopiesDrawNothing) {
  Canvas source(4, 4), dest(8, 8);
  Paint(source);
  EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 0x00F00021));  // PATCOPY: not offered
  EXPECT_FALSE(StretchBlt(dest.dc(), 0, 0, 4, 4, nullptr, 0, 0, 4, 4, SRCCOPY));
  EXPECT_FALSE(StretchBlt(dest.dc(), 0, 0, -4, 4, source.dc(), 0, 0, 4, 4, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dest.dc(), 0, 0, 0, 8, source.dc(), 0, 0, 4, 4, SRCCOPY));
  EXPECT_EQ(dest.Ink().left, 8);
}

TEST_F(GdiBlit, TargetDcDrawsInsideItsArea) {
  Canvas screen(40, 30);
  HDC window = GdiCreateTargetDC(screen.bitmap(), {10, 5, 30, 25});
  ASSERT_NE(window, nullptr);
  HGDIOBJ old = SelectObject(window, CreateSolidBrush(RGB(0, 0, 0)));
  Rectangle(window, -5, -5, 100, 100);
  EXPECT_EQ(screen.Ink(), (RECT{10, 5, 30, 25}));
  DeleteObject(SelectObject(window, old));

  // Copies into it land at its origin and stop at its edges.
  Canvas source(40, 40);
  Paint(source);
  BitBlt(window, 2, 3, 40, 40, source.dc(), 0, 0, SRCCOPY);
  EXPECT_TRUE(ShowsPattern(screen, 12, 8, 18, 17, 0, 0));
  EXPECT_EQ(screen.At(30, 24), kPaper);

  // A window DC keeps its bitmap, and the bitmap outlives it.
  HBITMAP other = CreateCompatibleBitmap(window, 4, 4);
  EXPECT_EQ(SelectObject(window, other), nullptr);
  DeleteObject(other);
  EXPECT_TRUE(DeleteDC(window));
  EXPECT_EQ(GdiCreateTargetDC(nullptr, {0, 0, 1, 1}), nullptr);
}

}  // namespace
