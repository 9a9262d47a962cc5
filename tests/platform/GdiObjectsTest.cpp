// Creating, selecting and deleting drawing objects, and what misuse does.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/GdiTestSupport.h"

using gditest::Canvas;

namespace {

using GdiObjects = gditest::PhoneTest;

// Draws a short horizontal line with the DC's current pen; returns its colour.
COLORREF PenColour(const Canvas &canvas) {
  MoveToEx(canvas.dc(), 0, 0, nullptr);
  LineTo(canvas.dc(), 3, 0);
  return canvas.At(1, 0);
}

HFONT Font(LONG height) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  return CreateFontIndirectW(&lf);
}

TEST_F(GdiObjects, NewMemoryDcHasWin32DefaultsAndSelectionReturnsTheReplacedObject) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  HGDIOBJ made[] = {CreatePen(PS_SOLID, 1, RGB(1, 2, 3)), CreateSolidBrush(RGB(4, 5, 6)), Font(12),
                    CreateCompatibleBitmap(dc, 8, 8)};
  HGDIOBJ defaults[4];
  for (int i = 0; i < 4; ++i) defaults[i] = SelectObject(dc, made[i]);
  EXPECT_EQ(defaults[0], GetStockObject(BLACK_PEN));
  EXPECT_EQ(defaults[1], GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(defaults[2], GetStockObject(SYSTEM_FONT));
  BITMAP bm{};
  ASSERT_EQ(GetObjectW(defaults[3], sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth * bm.bmHeight, 1);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkColor(dc, 0), RGB(255, 255, 255));
  EXPECT_EQ(SetTextColor(dc, 0), RGB(0, 0, 0));
  EXPECT_EQ(SetTextAlign(dc, TA_BASELINE), static_cast<UINT>(TA_LEFT | TA_TOP));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(SelectObject(dc, defaults[i]), made[i]);
    EXPECT_TRUE(DeleteObject(made[i]));
  }
  EXPECT_TRUE(DeleteDC(dc));
}

TEST_F(GdiObjects, CountsLiveObjectsButNotStockOnes) {
  const std::size_t before = GdiLiveObjectCount();
  GetStockObject(NULL_PEN);
  GetStockObject(NULL_BRUSH);
  EXPECT_EQ(GdiLiveObjectCount(), before);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ made[] = {CreateCompatibleBitmap(dc, 4, 4), CreatePen(PS_NULL, 0, 0), CreateSolidBrush(0), Font(0)};
  EXPECT_EQ(GdiLiveObjectCount(), before + 5);
  for (HGDIOBJ object : made) DeleteObject(object);
  EXPECT_EQ(GdiLiveObjectCount(), before + 1);
  DeleteDC(dc);
  EXPECT_EQ(GdiLiveObjectCount(), before);
}

TEST_F(GdiObjects, SelectedObjectCannotBeDeletedButStockOnesSucceedWithoutEffect) {
  Canvas canvas(8, 8);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(10, 20, 30));
  HGDIOBJ old = SelectObject(canvas.dc(), pen);
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(canvas.bitmap()));
  EXPECT_EQ(PenColour(canvas), RGB(10, 20, 30));
  SelectObject(canvas.dc(), old);
  EXPECT_TRUE(DeleteObject(pen));

  HGDIOBJ black = GetStockObject(BLACK_PEN);
  EXPECT_TRUE(DeleteObject(black));
  EXPECT_EQ(GetStockObject(BLACK_PEN), black);
  SelectObject(canvas.dc(), black);
  EXPECT_EQ(PenColour(canvas), RGB(0, 0, 0));
}

TEST_F(GdiObjects, BitmapLivesInOneDcAtATime) {
  HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(first, 4, 4);
  ASSERT_NE(SelectObject(first, bitmap), nullptr);
  EXPECT_EQ(SelectObject(second, bitmap), nullptr);
  EXPECT_EQ(SelectObject(first, bitmap), bitmap);  // again into its own DC: no change
  DeleteDC(first);  // releases the bitmap
  EXPECT_NE(SelectObject(second, bitmap), nullptr);
  EXPECT_FALSE(DeleteObject(bitmap));
  DeleteDC(second);
  EXPECT_TRUE(DeleteObject(bitmap));
}

TEST_F(GdiObjects, StaleHandlesFailAndChangeNothing) {
  Canvas canvas(8, 8);
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(canvas.dc(), red);
  HPEN gone = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
  ASSERT_TRUE(DeleteObject(gone));
  // A new pen may reuse the slot; the old handle must still be dead.
  HPEN fresh = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
  EXPECT_EQ(SelectObject(canvas.dc(), gone), nullptr);
  EXPECT_EQ(PenColour(canvas), RGB(255, 0, 0));
  EXPECT_FALSE(DeleteObject(gone));
  EXPECT_EQ(GetObjectW(gone, 0, nullptr), 0);
  EXPECT_EQ(SelectObject(canvas.dc(), reinterpret_cast<HGDIOBJ>(0x12345678)), nullptr);
  EXPECT_EQ(SelectObject(canvas.dc(), fresh), red);
  EXPECT_EQ(PenColour(canvas), RGB(0, 0, 255));
  SelectObject(canvas.dc(), old);
  DeleteObject(fresh);
  DeleteObject(red);
}

TEST_F(GdiObjects, DeletedDcAndWrongKindsAreRefused) {
  HDC dc = CreateCompatibleDC(nullptr), deleted = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  ASSERT_TRUE(DeleteDC(deleted));
  EXPECT_FALSE(DeleteDC(deleted));
  EXPECT_EQ(SelectObject(deleted, pen), nullptr);
  EXPECT_EQ(SetBkMode(deleted, OPAQUE), 0);
  EXPECT_EQ(SetBkColor(deleted, 0), CLR_INVALID);
  EXPECT_EQ(SetTextColor(deleted, 0), CLR_INVALID);
  EXPECT_EQ(SetTextAlign(deleted, 0), GDI_ERROR);
  EXPECT_FALSE(Rectangle(deleted, 0, 0, 2, 2));
  EXPECT_FALSE(MoveToEx(deleted, 0, 0, nullptr));
  EXPECT_FALSE(ExtTextOutW(deleted, 0, 0, 0, nullptr, L"x", 1, nullptr));
  EXPECT_EQ(CreateCompatibleBitmap(deleted, 4, 4), nullptr);
  EXPECT_EQ(CreateCompatibleDC(deleted), nullptr);

  EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(pen)));
  EXPECT_FALSE(DeleteObject(dc));
  EXPECT_EQ(SelectObject(dc, dc), nullptr);
  EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(pen), pen), nullptr);
  EXPECT_EQ(GetObjectW(pen, 64, nullptr), 0);  // only fonts and bitmaps describe themselves
  EXPECT_EQ(CreatePen(3, 1, 0), nullptr);      // dotted pens are not offered
  EXPECT_EQ(CreateCompatibleBitmap(dc, -1, 4), nullptr);
  EXPECT_EQ(SetBkMode(dc, 3), 0);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);  // the bad mode changed nothing
  EXPECT_EQ(GetStockObject(42), nullptr);
  for (LONG absurd : {INT32_MIN, 1 << 20}) EXPECT_EQ(Font(absurd), nullptr);
  EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
  EXPECT_TRUE(DeleteObject(pen)) << "the refused selections left the pen free";
  DeleteDC(dc);
}

TEST_F(GdiObjects, ShutdownLeavesEveryOldHandleStale) {
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  HGDIOBJ stock = GetStockObject(NULL_PEN);
  phone.reset();  // the end of the phone, the font caches released, and a new one
  GdiShutdown();
  phone.emplace(platform::ClockKind::Virtual);
  EXPECT_EQ(GdiLiveObjectCount(), 0u);
  HDC fresh = CreateCompatibleDC(nullptr);
  HPEN freshPen = CreatePen(PS_SOLID, 1, 0);
  EXPECT_EQ(SelectObject(dc, pen), nullptr);
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_EQ(SelectObject(fresh, stock), nullptr);
  EXPECT_NE(SelectObject(fresh, GetStockObject(NULL_PEN)), nullptr);
  EXPECT_NE(SelectObject(fresh, freshPen), nullptr);
  EXPECT_TRUE(DeleteDC(fresh));
  EXPECT_TRUE(DeleteObject(freshPen));
}

TEST_F(GdiObjects, EmptyBitmapTakesDrawingCallsHarmlessly) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP empty = CreateCompatibleBitmap(dc, 0, 0);
  ASSERT_NE(empty, nullptr);
  HGDIOBJ old = SelectObject(dc, empty);
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, L"Ok", 2, nullptr));
  EXPECT_TRUE(Rectangle(dc, 0, 0, 5, 5));
  EXPECT_TRUE(LineTo(dc, 5, 5));
  EXPECT_EQ(GdiGetPixel(dc, 0, 0), CLR_INVALID);
  SelectObject(dc, old);
  DeleteObject(empty);
  DeleteDC(dc);
}

TEST_F(GdiObjects, FontAndBitmapDescribeThemselves) {
  HFONT font = Font(20);
  LOGFONTW back{};
  EXPECT_EQ(GetObjectW(font, 0, nullptr), static_cast<int>(sizeof back));
  ASSERT_EQ(GetObjectW(font, sizeof back, &back), static_cast<int>(sizeof back));
  EXPECT_EQ(back.lfHeight, 20);
  DeleteObject(font);

  Canvas canvas(240, 270);
  BITMAP bm{};
  ASSERT_EQ(GetObjectW(canvas.bitmap(), sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 240);
  EXPECT_EQ(bm.bmHeight, 270);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(bm.bmWidthBytes, 960);
}

TEST_F(GdiObjects, RectanglesIntersectOnlyWhenTheyOverlap) {
  RECT out{1, 1, 1, 1}, a{0, 0, 10, 10}, b{5, 8, 20, 30}, c{10, 0, 20, 10};
  EXPECT_TRUE(IntersectRect(&out, &a, &b));
  EXPECT_EQ(out, (RECT{5, 8, 10, 10}));
  EXPECT_FALSE(IntersectRect(&out, &a, &c));  // touching edges do not overlap
  EXPECT_EQ(out, (RECT{0, 0, 0, 0}));
  RECT zeroWidth{240, 0, 240, 270}, paint{0, 0, 240, 270};
  EXPECT_FALSE(IntersectRect(&out, &zeroWidth, &paint));
}

}  // namespace
