// Block and stretch copies, and DCs that draw on part of another bitmap.
#include <gtest/gtest.h>

#include "platform/GdiTestSupport.h"

using gditest::Canvas;
using gditest::kPaper;

namespace {

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

TEST(GdiBlit, BitBltCopiesExactlyTheBlock) {
  Canvas source(10, 10), dest(20, 20);
  Paint(source);
  ASSERT_TRUE(BitBlt(dest.dc(), 5, 6, 4, 3, source.dc(), 2, 1, SRCCOPY));
  EXPECT_EQ(dest.Ink(), (RECT{5, 6, 9, 9}));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dest.At(5 + x, 6 + y), Pattern(2 + x, 1 + y));
}

TEST(GdiBlit, BitBltCopiesOnlyWhatTheSourceHas) {
  Canvas source(10, 10), dest(20, 20);
  Paint(source);
  BitBlt(dest.dc(), 0, 0, 20, 20, source.dc(), 6, -2, SRCCOPY);
  EXPECT_EQ(dest.Ink(), (RECT{0, 2, 4, 12}));
  EXPECT_EQ(dest.At(0, 2), Pattern(6, 0));
}

TEST(GdiBlit, OverlappingCopyWithinOneBitmap) {
  Canvas canvas(12, 12);
  Paint(canvas);
  BitBlt(canvas.dc(), 2, 3, 8, 8, canvas.dc(), 0, 0, SRCCOPY);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(canvas.At(2 + x, 3 + y), Pattern(x, y)) << x << "," << y;
  Paint(canvas);
  BitBlt(canvas.dc(), 0, 0, 8, 8, canvas.dc(), 3, 2, SRCCOPY);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(canvas.At(x, y), Pattern(3 + x, 2 + y)) << x << "," << y;
}

TEST(GdiBlit, StretchBltScalesByNearestPixel) {
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

TEST(GdiBlit, RefusedCopiesDrawNothing) {
  Canvas source(4, 4), dest(8, 8);
  Paint(source);
  EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 0x00F00021));  // PATCOPY: not offered
  EXPECT_FALSE(StretchBlt(dest.dc(), 0, 0, 4, 4, nullptr, 0, 0, 4, 4, SRCCOPY));
  EXPECT_FALSE(StretchBlt(dest.dc(), 0, 0, -4, 4, source.dc(), 0, 0, 4, 4, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dest.dc(), 0, 0, 0, 8, source.dc(), 0, 0, 4, 4, SRCCOPY));
  EXPECT_EQ(dest.Ink().left, 8);
}

TEST(GdiBlit, TargetDcDrawsInsideItsArea) {
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
  EXPECT_EQ(screen.At(12, 8), Pattern(0, 0));
  EXPECT_EQ(screen.At(29, 24), Pattern(17, 16));
  EXPECT_EQ(screen.At(30, 24), kPaper);

  // A window DC keeps its bitmap, and the bitmap outlives it.
  HBITMAP other = CreateCompatibleBitmap(window, 4, 4);
  EXPECT_EQ(SelectObject(window, other), nullptr);
  DeleteObject(other);
  EXPECT_TRUE(DeleteDC(window));
  EXPECT_EQ(GdiCreateTargetDC(nullptr, {0, 0, 1, 1}), nullptr);
}

TEST(GdiBlit, PaintThroughAnOffscreenBitmap) {
  // The window's paint: draw off screen, then copy only the invalid part.
  Canvas screen(60, 40);
  HDC window = GdiCreateTargetDC(screen.bitmap(), {0, 0, 60, 40});
  HDC memory = CreateCompatibleDC(window);
  HBITMAP offscreen = CreateCompatibleBitmap(window, 60, 40);
  HGDIOBJ old = SelectObject(memory, offscreen);
  SetBkColor(memory, RGB(245, 245, 245));
  RECT all{0, 0, 60, 40}, invalid{0, 0, 40, 40};
  ExtTextOutW(memory, 0, 0, ETO_OPAQUE, &all, L"", 0, nullptr);
  BitBlt(window, invalid.left, invalid.top, invalid.right - invalid.left, invalid.bottom - invalid.top, memory,
         invalid.left, invalid.top, SRCCOPY);
  EXPECT_EQ(screen.Ink(), invalid);
  SelectObject(memory, old);
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_TRUE(DeleteObject(offscreen));
  EXPECT_TRUE(DeleteDC(window));
}

}  // namespace
