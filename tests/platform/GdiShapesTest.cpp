// Pixel rules of lines and rectangles.
#include <gtest/gtest.h>

#include "platform/GdiTestSupport.h"

using gditest::Canvas;
using gditest::kPaper;

namespace {

constexpr COLORREF kInk = RGB(255, 128, 64);
constexpr COLORREF kFill = RGB(166, 166, 166);

// Selects a pen and a brush for the life of the scope and deletes them after.
class Tools {
 public:
  Tools(HDC dc, HPEN pen, HBRUSH brush) : dc_(dc), pen_(pen), brush_(brush) {
    oldPen_ = SelectObject(dc, pen);
    oldBrush_ = SelectObject(dc, brush);
  }
  ~Tools() {
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
    DeleteObject(pen_);
    DeleteObject(brush_);
  }

 private:
  HDC dc_;
  HGDIOBJ pen_, brush_, oldPen_, oldBrush_;
};

TEST(GdiShapes, RectangleExcludesRightAndBottomEdges) {
  Canvas canvas(40, 40);
  Tools tools(canvas.dc(), CreatePen(PS_SOLID, 1, kInk), CreateSolidBrush(kFill));
  ASSERT_TRUE(Rectangle(canvas.dc(), 10, 10, 20, 15));
  EXPECT_EQ(canvas.Ink(), (RECT{10, 10, 20, 15}));
  EXPECT_EQ(canvas.At(10, 10), kInk);
  EXPECT_EQ(canvas.At(19, 14), kInk);
  EXPECT_EQ(canvas.At(15, 10), kInk);
  EXPECT_EQ(canvas.At(15, 14), kInk);
  EXPECT_EQ(canvas.Count(kFill, {11, 11, 19, 14}), 8 * 3);
}

TEST(GdiShapes, NullPenFillsOnePixelLessEachWay) {
  Canvas canvas(40, 40);
  Tools tools(canvas.dc(), CreatePen(PS_NULL, 0, 0), CreateSolidBrush(kFill));
  Rectangle(canvas.dc(), 10, 10, 20, 15);
  EXPECT_EQ(canvas.Ink(), (RECT{10, 10, 19, 14}));
  EXPECT_EQ(canvas.Count(kFill, {10, 10, 19, 14}), 9 * 4);
}

TEST(GdiShapes, NullBrushLeavesTheInsideAlone) {
  Canvas canvas(40, 40);
  Tools tools(canvas.dc(), CreatePen(PS_SOLID, 1, kInk), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  Rectangle(canvas.dc(), 5, 5, 15, 15);
  EXPECT_EQ(canvas.Count(kPaper, {6, 6, 14, 14}), 64);
  EXPECT_EQ(canvas.Count(kInk, {5, 5, 15, 15}), 36);
}

TEST(GdiShapes, RectangleCornersMayComeInAnyOrder) {
  Canvas canvas(40, 40);
  Tools tools(canvas.dc(), CreatePen(PS_SOLID, 1, kInk), CreateSolidBrush(kFill));
  Rectangle(canvas.dc(), 20, 15, 10, 10);
  EXPECT_EQ(canvas.Ink(), (RECT{10, 10, 20, 15}));
}

TEST(GdiShapes, WidePenIsCentredOnTheLineWithRoundEnds) {
  Canvas canvas(60, 60);
  Tools tools(canvas.dc(), CreatePen(PS_SOLID, 4, kInk), CreateSolidBrush(kFill));
  MoveToEx(canvas.dc(), 10, 20, nullptr);
  LineTo(canvas.dc(), 40, 20);
  // Rows y-2 .. y+1, and a cap of half the width past each end.
  EXPECT_EQ(canvas.Ink(), (RECT{8, 18, 42, 22}));
  EXPECT_EQ(canvas.Count(kInk, {10, 18, 40, 22}), 30 * 4);
  EXPECT_EQ(canvas.At(8, 18), kPaper);  // rounded, not square
  EXPECT_EQ(canvas.At(8, 19), kInk);

  canvas.Fill(kPaper);
  MoveToEx(canvas.dc(), 30, 5, nullptr);
  LineTo(canvas.dc(), 30, 50);
  EXPECT_EQ(canvas.Ink(), (RECT{28, 3, 32, 52}));
}

TEST(GdiShapes, WideDiagonalHasNoBlendedColours) {
  Canvas canvas(60, 60);
  Tools tools(canvas.dc(), CreatePen(PS_SOLID, 4, kInk), CreateSolidBrush(kFill));
  MoveToEx(canvas.dc(), 5, 50, nullptr);
  LineTo(canvas.dc(), 50, 12);
  RECT all{0, 0, 60, 60};
  int ink = canvas.Count(kInk, all);
  EXPECT_GT(ink, 45 * 4);
  EXPECT_EQ(ink + canvas.Count(kPaper, all), 3600);
}

TEST(GdiShapes, ThinLineExcludesItsLastPoint) {
  Canvas canvas(20, 20);
  Tools tools(canvas.dc(), CreatePen(PS_SOLID, 0, kInk), CreateSolidBrush(kFill));
  MoveToEx(canvas.dc(), 5, 5, nullptr);
  LineTo(canvas.dc(), 10, 5);
  EXPECT_EQ(canvas.Ink(), (RECT{5, 5, 10, 6}));
  // The next line starts where the last one ended.
  LineTo(canvas.dc(), 10, 9);
  EXPECT_EQ(canvas.At(10, 5), kInk);
  EXPECT_EQ(canvas.At(10, 8), kInk);
  EXPECT_EQ(canvas.At(10, 9), kPaper);

  canvas.Fill(kPaper);
  POINT previous{};
  MoveToEx(canvas.dc(), 0, 0, &previous);
  EXPECT_EQ(previous.x, 10);
  EXPECT_EQ(previous.y, 9);
  LineTo(canvas.dc(), 5, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(canvas.At(i, i), kInk) << i;
  EXPECT_EQ(canvas.At(5, 5), kPaper);
  EXPECT_EQ(canvas.Count(kInk, {0, 0, 20, 20}), 5);
}

TEST(GdiShapes, PolylineDrawsEveryCornerButTheLastPoint) {
  Canvas canvas(20, 20);
  Tools tools(canvas.dc(), CreatePen(PS_SOLID, 1, kInk), CreateSolidBrush(kFill));
  MoveToEx(canvas.dc(), 1, 1, nullptr);
  POINT points[] = {{2, 2}, {8, 2}, {8, 8}};
  ASSERT_TRUE(Polyline(canvas.dc(), points, 3));
  EXPECT_EQ(canvas.At(8, 2), kInk);
  EXPECT_EQ(canvas.At(8, 7), kInk);
  EXPECT_EQ(canvas.At(8, 8), kPaper);
  EXPECT_EQ(canvas.Count(kInk, {0, 0, 20, 20}), 12);
  EXPECT_FALSE(Polyline(canvas.dc(), points, 1));
  // Polyline neither uses nor moves the current position.
  POINT previous{};
  MoveToEx(canvas.dc(), 0, 0, &previous);
  EXPECT_EQ(previous.x, 1);
  EXPECT_EQ(previous.y, 1);
}

TEST(GdiShapes, WideRectangleFrameStraddlesTheEdges) {
  Canvas canvas(60, 60);
  Tools tools(canvas.dc(), CreatePen(PS_SOLID, 4, kInk), CreateSolidBrush(kFill));
  Rectangle(canvas.dc(), 20, 20, 40, 30);
  // The outline runs along columns 20 and 39 and rows 20 and 29.
  EXPECT_EQ(canvas.Ink(), (RECT{18, 18, 41, 31}));
  EXPECT_EQ(canvas.At(18, 18), kPaper);  // round joins
  EXPECT_EQ(canvas.At(30, 19), kInk);
  EXPECT_EQ(canvas.At(30, 22), kFill);
  EXPECT_EQ(canvas.At(30, 26), kFill);
  EXPECT_EQ(canvas.At(30, 27), kInk);
}

TEST(GdiShapes, NullPenLinesDrawNothingButMove) {
  Canvas canvas(20, 20);
  Tools tools(canvas.dc(), CreatePen(PS_NULL, 4, kInk), CreateSolidBrush(kFill));
  MoveToEx(canvas.dc(), 2, 2, nullptr);
  LineTo(canvas.dc(), 15, 15);
  EXPECT_EQ(canvas.Ink().left, 20);
  POINT previous{};
  MoveToEx(canvas.dc(), 0, 0, &previous);
  EXPECT_EQ(previous.x, 15);
}

TEST(GdiShapes, DrawingBeyondTheBitmapIsClipped) {
  Canvas canvas(20, 20);
  Tools tools(canvas.dc(), CreatePen(PS_SOLID, 1, kInk), CreateSolidBrush(kFill));
  MoveToEx(canvas.dc(), -100, 10, nullptr);
  LineTo(canvas.dc(), 1000, 10);
  EXPECT_EQ(canvas.Count(kInk, {0, 0, 20, 20}), 20);
  SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  Rectangle(canvas.dc(), -5, -5, 1000, 1000);
  EXPECT_EQ(canvas.At(0, 0), kFill);
  EXPECT_EQ(canvas.At(19, 19), kFill);
}

}  // namespace
