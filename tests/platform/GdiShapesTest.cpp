// Pixel rules of lines and rectangles.
#include <gtest/gtest.h>

#include "platform/GdiTestSupport.h"

using gditest::Canvas;
using gditest::kPaper;

namespace {

using GdiShapes = gditest::PhoneTest;

constexpr COLORREF kInk = RGB(255, 128, 64);
constexpr COLORREF kFill = RGB(166, 166, 166);

// A canvas with a pen and a brush selected, deleted with it.
class ToolCanvas : public Canvas {
 public:
  ToolCanvas(int size, HPEN pen, HBRUSH brush = CreateSolidBrush(kFill))
      : Canvas(size, size), pen_(pen), brush_(brush) {
    oldPen_ = SelectObject(dc(), pen);
    oldBrush_ = SelectObject(dc(), brush);
  }
  ~ToolCanvas() {
    SelectObject(dc(), oldPen_);
    SelectObject(dc(), oldBrush_);
    DeleteObject(pen_);
    DeleteObject(brush_);
  }
  void Line(int x0, int y0, int x1, int y1) {
    MoveToEx(dc(), x0, y0, nullptr);
    LineTo(dc(), x1, y1);
  }
  POINT Position() {  // the current position, left where it was
    POINT p{};
    MoveToEx(dc(), 0, 0, &p);
    MoveToEx(dc(), p.x, p.y, nullptr);
    return p;
  }
  int All(COLORREF colour) const { return Count(colour, {0, 0, width(), height()}); }

 private:
  HGDIOBJ pen_, brush_, oldPen_, oldBrush_;
};

struct RectCase {
  int penStyle;
  bool nullBrush;
  RECT corners;  // as passed to Rectangle
  RECT ink;      // what it covers
  int outline, fill;
};

TEST_F(GdiShapes, RectangleExcludesRightAndBottomEdges) {
  const RectCase cases[] = {
      {PS_SOLID, false, {10, 10, 20, 15}, {10, 10, 20, 15}, 10 * 5 - 8 * 3, 8 * 3},
      {PS_SOLID, false, {20, 15, 10, 10}, {10, 10, 20, 15}, 10 * 5 - 8 * 3, 8 * 3},  // corners in any order
      {PS_NULL, false, {10, 10, 20, 15}, {10, 10, 19, 14}, 0, 9 * 4},                // one pixel less each way
      {PS_SOLID, true, {5, 5, 15, 15}, {5, 5, 15, 15}, 10 * 10 - 8 * 8, 0},
  };
  for (const RectCase &c : cases) {
    ToolCanvas canvas(40, CreatePen(c.penStyle, 1, kInk),
                      c.nullBrush ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) : CreateSolidBrush(kFill));
    ASSERT_TRUE(Rectangle(canvas.dc(), c.corners.left, c.corners.top, c.corners.right, c.corners.bottom));
    EXPECT_EQ(canvas.Ink(), c.ink);
    EXPECT_EQ(canvas.All(kInk), c.outline);
    EXPECT_EQ(canvas.All(kFill), c.fill);
  }
}

TEST_F(GdiShapes, FourPixelPenIsCentredWithRoundEndsAndNoBlending) {
  ToolCanvas canvas(60, CreatePen(PS_SOLID, 4, kInk));
  canvas.Line(10, 20, 40, 20);
  // Rows y-2 .. y+1, and a cap of half the width past each end.
  EXPECT_EQ(canvas.Ink(), (RECT{8, 18, 42, 22}));
  EXPECT_EQ(canvas.Count(kInk, {10, 18, 40, 22}), 30 * 4);
  EXPECT_EQ(canvas.At(8, 18), kPaper);  // rounded, not square
  EXPECT_EQ(canvas.At(8, 19), kInk);

  canvas.Fill(kPaper);
  canvas.Line(30, 5, 30, 50);
  EXPECT_EQ(canvas.Ink(), (RECT{28, 3, 32, 52}));

  canvas.Fill(kPaper);
  canvas.Line(5, 50, 50, 12);
  EXPECT_GT(canvas.All(kInk), 45 * 4);
  EXPECT_EQ(canvas.All(kInk) + canvas.All(kPaper), 3600);

  // A frame straddles the outline along columns 20 and 39 and rows 20 and 29.
  canvas.Fill(kPaper);
  Rectangle(canvas.dc(), 20, 20, 40, 30);
  EXPECT_EQ(canvas.Ink(), (RECT{18, 18, 41, 31}));
  EXPECT_EQ(canvas.At(18, 18), kPaper);  // round joins
  EXPECT_EQ(canvas.At(30, 19), kInk);
  EXPECT_EQ(canvas.Count(kFill, {30, 22, 31, 27}), 5);
  EXPECT_EQ(canvas.At(30, 27), kInk);
}

TEST_F(GdiShapes, ThinLinesExcludeTheirLastPointAndMoveOn) {
  ToolCanvas canvas(20, CreatePen(PS_SOLID, 0, kInk));
  canvas.Line(5, 5, 10, 5);
  EXPECT_EQ(canvas.Ink(), (RECT{5, 5, 10, 6}));
  LineTo(canvas.dc(), 10, 9);  // starts where the last one ended
  EXPECT_EQ(canvas.Count(kInk, {10, 5, 11, 10}), 4);
  EXPECT_EQ(canvas.Position().x, 10);

  canvas.Fill(kPaper);
  canvas.Line(0, 0, 5, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(canvas.At(i, i), kInk) << i;
  EXPECT_EQ(canvas.All(kInk), 5);

  // Polyline draws every corner but the last point and leaves the position alone.
  canvas.Fill(kPaper);
  POINT points[] = {{2, 2}, {8, 2}, {8, 8}};
  MoveToEx(canvas.dc(), 1, 1, nullptr);
  ASSERT_TRUE(Polyline(canvas.dc(), points, 3));
  EXPECT_EQ(canvas.Ink(), (RECT{2, 2, 9, 8}));
  EXPECT_EQ(canvas.All(kInk), 12);
  EXPECT_FALSE(Polyline(canvas.dc(), points, 1));
  EXPECT_EQ(canvas.Position().x, 1);
}

TEST_F(GdiShapes, NullPenLinesDrawNothingButMove) {
  ToolCanvas canvas(20, CreatePen(PS_NULL, 4, kInk));
  canvas.Line(2, 2, 15, 15);
  EXPECT_EQ(canvas.All(kPaper), 400);
  EXPECT_EQ(canvas.Position().x, 15);
}

TEST_F(GdiShapes, DrawingBeyondTheBitmapIsClipped) {
  ToolCanvas canvas(20, CreatePen(PS_SOLID, 1, kInk));
  canvas.Line(-100, 10, 1000, 10);
  EXPECT_EQ(canvas.All(kInk), 20);
  HGDIOBJ pen = SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
  Rectangle(canvas.dc(), -5, -5, 1000, 1000);
  EXPECT_EQ(canvas.All(kFill), 400);
  SelectObject(canvas.dc(), pen);
}

}  // namespace
