// Fonts, text placement by alignment, opaque fills and multi-line text.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "platform/GdiTestSupport.h"

using gditest::Canvas;
using gditest::kPaper;

namespace {

using GdiText = gditest::PhoneTest;

constexpr COLORREF kBack = RGB(245, 100, 10);
constexpr COLORREF kText = RGB(0, 0, 255);

HFONT MakeFont(const wchar_t *face, LONG height, bool bold = false) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  std::wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

// A canvas with a font selected and text attributes set.
class TextCanvas : public Canvas {
 public:
  TextCanvas(int w, int h, HFONT font, int mode, UINT align) : Canvas(w, h), font_(font) {
    old_ = SelectObject(dc(), font);
    SetBkMode(dc(), mode);
    SetBkColor(dc(), kBack);
    SetTextColor(dc(), kText);
    SetTextAlign(dc(), align);
    GetTextMetricsW(dc(), &tm);
  }
  ~TextCanvas() {
    SelectObject(dc(), old_);
    DeleteObject(font_);
  }
  int Width(const wchar_t *text) const {
    SIZE size{};
    GetTextExtentPoint32W(dc(), text, static_cast<int>(std::wcslen(text)), &size);
    return size.cx;
  }
  void Out(int x, int y, const wchar_t *text) {
    ExtTextOutW(dc(), x, y, 0, nullptr, text, static_cast<UINT>(std::wcslen(text)), nullptr);
  }
  TEXTMETRICW tm{};

 private:
  HFONT font_;
  HGDIOBJ old_;
};

TEST_F(GdiText, FontHeightsAndWidths) {
  struct Case {
    const wchar_t *face;
    LONG height;
    bool bold;
  } cases[] = {{L"Verdana", 20, true}, {L"Verdana", 16, false}, {L"Courier New", 16, false},
               {L"Arial", 16, false}, {L"Verdana", 160, true}};
  for (const Case &c : cases) {  // a positive height is the cell height
    TextCanvas canvas(8, 8, MakeFont(c.face, c.height, c.bold), TRANSPARENT, 0);
    EXPECT_EQ(canvas.tm.tmHeight, c.height) << c.height;
    EXPECT_EQ(canvas.tm.tmAscent + canvas.tm.tmDescent, c.height);
    EXPECT_GT(canvas.tm.tmAscent, 2 * canvas.tm.tmDescent);
    EXPECT_GT(canvas.tm.tmDescent, 0);
    EXPECT_EQ(canvas.tm.tmWeight, c.bold ? FW_BOLD : FW_NORMAL);
    if (c.face[0] == L'C') {
      EXPECT_EQ(canvas.Width(L"iiii"), canvas.Width(L"WWWW")) << "monospaced";
    } else {
      EXPECT_LT(canvas.Width(L"iiii"), canvas.Width(L"WWWW"));
    }
  }
  // A negative height is the character height.
  TextCanvas canvas(8, 8, MakeFont(L"Arial", -16), TRANSPARENT, 0);
  EXPECT_GT(canvas.tm.tmHeight, 16);
  EXPECT_EQ(canvas.tm.tmHeight - canvas.tm.tmInternalLeading, 16);
  // Control characters take no space; characters beyond ASCII do.
  EXPECT_EQ(canvas.Width(L"a\tb"), canvas.Width(L"ab"));
  EXPECT_GT(canvas.Width(L"\u00e9"), 0);
}

TEST_F(GdiText, OpaqueEmptyStringFillsExactlyTheRectangle) {
  TextCanvas canvas(40, 40, MakeFont(L"Verdana", 16), TRANSPARENT, 0);
  RECT r{3, 4, 13, 9};
  ASSERT_TRUE(ExtTextOutW(canvas.dc(), 0, 0, ETO_OPAQUE, &r, L"", 0, nullptr));
  EXPECT_EQ(canvas.Ink(), r);
  EXPECT_EQ(canvas.Count(kBack, r), 50);
}

// In opaque mode the text cell is filled, so its box shows exactly where
// each alignment puts the text.
TEST_F(GdiText, AlignmentPlacesTheCell) {
  struct Case {
    UINT align;
    int x, y;
  } cases[] = {{TA_LEFT | TA_TOP, 20, 10},     {TA_RIGHT | TA_TOP, 100, 10},
               {TA_CENTER | TA_TOP, 60, 10},   {TA_LEFT | TA_BOTTOM, 20, 50},
               {TA_RIGHT | TA_BASELINE, 100, 40}, {TA_LEFT | TA_BASELINE, 20, 40}};
  for (const Case &c : cases) {
    TextCanvas canvas(120, 70, MakeFont(L"Verdana", 16), OPAQUE, c.align);
    int w = canvas.Width(L"Down"), h = canvas.tm.tmHeight;
    UINT horizontal = c.align & TA_CENTER, vertical = c.align & TA_BASELINE;
    int left = horizontal == TA_RIGHT ? c.x - w : horizontal == TA_CENTER ? c.x - w / 2 : c.x;
    int top = vertical == TA_BOTTOM ? c.y - h : vertical == TA_BASELINE ? c.y - canvas.tm.tmAscent : c.y;
    canvas.Out(c.x, c.y, L"Down");
    EXPECT_EQ(canvas.Ink(), (RECT{left, top, left + w, top + h})) << "align " << c.align;
    EXPECT_GT(canvas.Count(kText, {left, top, left + w, top + h}), 10);
  }
}

TEST_F(GdiText, TransparentTextSitsOnTheBaseline) {
  TextCanvas canvas(120, 70, MakeFont(L"Verdana", 20, true), TRANSPARENT, TA_BASELINE);
  canvas.Out(30, 40, L"HE");
  RECT ink = canvas.Ink();
  EXPECT_EQ(ink.bottom, 40);  // flat-bottomed capitals end on the row above the baseline
  EXPECT_GE(ink.left, 30);
  EXPECT_LE(ink.left, 33);
  EXPECT_LE(ink.right, 30 + canvas.Width(L"HE"));
  EXPECT_GE(ink.top, 40 - canvas.tm.tmAscent);
  EXPECT_EQ(canvas.Count(kBack, {0, 0, 120, 70}), 0);
}

TEST_F(GdiText, ClippedTextStaysInsideTheRectangle) {
  TextCanvas canvas(200, 60, MakeFont(L"Verdana", 16), OPAQUE, 0);
  RECT r{10, 5, 25, 30};
  ExtTextOutW(canvas.dc(), 10, 5, ETO_CLIPPED, &r, L"WWWW", 4, nullptr);
  EXPECT_EQ(canvas.Ink(), (RECT{10, 5, 25, 5 + canvas.tm.tmHeight}));
  canvas.Fill(kPaper);
  DrawTextW(canvas.dc(), L"WWWWWW", -1, &r, DT_LEFT);
  EXPECT_EQ(canvas.Ink().right, 25);
  canvas.Fill(kPaper);
  DrawTextW(canvas.dc(), L"WWWWWW", -1, &r, DT_LEFT | DT_NOCLIP);
  EXPECT_GT(canvas.Ink().right, 60);
}

TEST_F(GdiText, DrawTextBreaksLinesAtEitherLineEnd) {
  TextCanvas canvas(200, 120, MakeFont(L"Courier New", 16), OPAQUE, 0);
  RECT r{5, 5, 190, 110};
  const int h = canvas.tm.tmHeight, w = canvas.Width(L"X");
  EXPECT_EQ(DrawTextW(canvas.dc(), L"AB\r\nCDE\nF\rGH", -1, &r, DT_LEFT | DT_TOP), 4 * h);
  const int widths[] = {2, 3, 1, 2};
  for (int line = 0; line < 4; ++line) {
    RECT cell{5, 5 + line * h, 5 + widths[line] * w, 5 + (line + 1) * h};
    EXPECT_EQ(canvas.Count(kPaper, cell), 0) << line;
    EXPECT_EQ(canvas.At(cell.right, cell.top + 1), kPaper) << line;
  }
  EXPECT_EQ(canvas.Ink(), (RECT{5, 5, 5 + 3 * w, 5 + 4 * h}));

  // Empty lines count, a trailing break does not, and no text is no line.
  canvas.Fill(kPaper);
  EXPECT_EQ(DrawTextW(canvas.dc(), L"A\r\n\r\nB\r\n", -1, &r, DT_LEFT | DT_TOP), 3 * h);
  EXPECT_EQ(canvas.Ink(), (RECT{5, 5, 5 + w, 5 + 3 * h}));
  EXPECT_EQ(canvas.Count(kPaper, {5, 5 + h, 5 + w, 5 + 2 * h}), w * h);
  EXPECT_EQ(DrawTextW(canvas.dc(), L"abc", 0, &r, 0), 0);
}

TEST_F(GdiText, DrawTextPlacesEachLineByItsFormatAndTheDcAlignment) {
  TextCanvas canvas(200, 80, MakeFont(L"Verdana", 16), OPAQUE, 0);
  RECT r{10, 10, 150, 70};
  const int h = canvas.tm.tmHeight;
  DrawTextW(canvas.dc(), L"0.4\nDown", -1, &r, DT_RIGHT | DT_NOCLIP);
  EXPECT_EQ(canvas.Ink(), (RECT{150 - canvas.Width(L"Down"), 10, 150, 10 + 2 * h}));
  EXPECT_EQ(canvas.At(150 - canvas.Width(L"0.4"), 12), kBack);
  EXPECT_EQ(canvas.At(149 - canvas.Width(L"0.4"), 12), kPaper);
  canvas.Fill(kPaper);
  DrawTextW(canvas.dc(), L"Ok", -1, &r, DT_CENTER);
  int left = (10 + 150 - canvas.Width(L"Ok")) / 2;
  EXPECT_EQ(canvas.Ink(), (RECT{left, 10, left + canvas.Width(L"Ok"), 10 + h}));
  // As on Win32, DrawTextW hands its line positions to the DC's alignment.
  canvas.Fill(kPaper);
  SetTextAlign(canvas.dc(), TA_RIGHT);
  RECT right{100, 10, 190, 50};
  DrawTextW(canvas.dc(), L"0.30", -1, &right, DT_LEFT | DT_NOCLIP);
  EXPECT_EQ(canvas.Ink(), (RECT{100 - canvas.Width(L"0.30"), 10, 100, 10 + h}));
}

}  // namespace
