#include "StrumPanel.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "GdiFontSelect.h"
#include "GdiObjSelect.h"
#include "Rounding.h"
#include "measure/MidiTypes.h"

namespace {

constexpr int kHeading = 30;     // the heading's height above the rows
constexpr int kNameWidth = 40;   // the note names' column, left of the bars
constexpr int kValueWidth = 58;  // the deviations' column, right of them
constexpr int kMargin = 5;
constexpr int kHalfBar = 6;  // the guitar panel's bars
constexpr int kHalfZone = 4;
constexpr int kHalfMark = 11;
constexpr int kHalfNeedle = 13;

using Rounding::Nearest;

void VerticalLine(HDC dc, int x, int y0, int y1) {
  MoveToEx(dc, x, y0, nullptr);
  LineTo(dc, x, y1);
}

// Right-aligned against `right`, its top at `top`, unclipped.
void RightText(HDC dc, const std::wstring &text, int right, int top) {
  RECT box{0, top, right, top};
  DrawTextW(dc, text.c_str(), -1, &box, DT_RIGHT | DT_NOCLIP);
}

}  // namespace

StrumPanel::StrumPanel()
    : nullPen_(CreatePen(PS_NULL, 0, 0)),
      barBrush_(CreateSolidBrush(RGB(166, 166, 166))),
      selectedPen_(CreatePen(PS_SOLID, 4, RGB(255, 128, 64))),
      zoneBrush_(CreateSolidBrush(RGB(255, 202, 176))),
      needlePen_(CreatePen(PS_SOLID, 4, RGB(255, 128, 64))),
      markPen_(CreatePen(PS_SOLID, 4, RGB(202, 66, 0))) {
  nameStyle_.Create(L"Verdana", 20, true);
  valueStyle_.Create(L"Verdana", 16, false);
  for (FontSpec *style : {&nameStyle_, &valueStyle_}) {
    style->backColor = background_;
    style->textColor = 0x000000;
    style->backMode = OPAQUE;
    style->textAlign = TA_LEFT | TA_TOP;
  }
}

void StrumPanel::SetReading(const Strum::StrumReading &reading) {
  reading_ = reading;
  ++strums_;
}

int StrumPanel::RowCentre(int i) const {
  const double row = (rect.bottom - rect.top - kHeading) / static_cast<double>(rows);
  return Nearest(rect.top + kHeading + row * (i + 0.5));
}

int StrumPanel::BarLeft() const { return rect.left + kNameWidth; }
int StrumPanel::BarRight() const { return rect.right - kValueWidth; }

int StrumPanel::NeedleX(double cents) const {
  const double perCent = (BarRight() - BarLeft()) / (2 * kEndCents);
  return Nearest((BarLeft() + BarRight()) / 2.0 + std::clamp(cents, -kEndCents, kEndCents) * perCent);
}

std::wstring StrumPanel::Word(int i) const {
  if (strums_ == 0) return L"";
  if (i < reading_.count && reading_.strings[i].unsure) return L"?";
  if (!Heard(i)) return L"-";
  const Strum::StringReading &s = reading_.strings[i];
  if (std::abs(s.cents) <= kOkCents) return L"Ok";
  wchar_t text[16];
  std::swprintf(text, 16, L"%+d", Nearest(s.cents));
  return text;
}

bool StrumPanel::Heard(int i) const {
  return strums_ > 0 && i < reading_.count && reading_.strings[i].heard;
}

void StrumPanel::Paint(HDC dc, double reference, const GuitarPanel &strings) const {
  SetBkColor(dc, background_);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, L"", 0, nullptr);
  PaintHeading(dc, reference);
  for (int i = 0; i < rows; ++i) PaintBar(dc, i, strings.selected[i]);
  PaintTexts(dc, strings);
}

void StrumPanel::PaintHeading(HDC dc, double reference) const {
  PaintProcs::GdiFontSelect font;
  font.Select(valueStyle_, dc);
  wchar_t text[64];
  std::swprintf(text, 64, L"A %.2f", reference);
  const int top = rect.top + (kHeading - valueStyle_.height) / 2;
  ExtTextOutW(dc, rect.left + kMargin, top, 0, nullptr, text, static_cast<UINT>(std::wcslen(text)), nullptr);
  if (strums_ == 0)
    RightText(dc, L"Strum the strings", rect.right - kMargin, top);
  else
    RightText(dc, L"Strum " + std::to_wstring(strums_), rect.right - kMargin, top);
}

// The centre mark shows above and below the bar; the in-tune zone and the
// needle lie over it.
void StrumPanel::PaintBar(HDC dc, int i, bool selected) const {
  const int c = RowCentre(i);
  PaintProcs::GdiObjSelect guard;
  guard.SelectPen(dc, markPen_);
  VerticalLine(dc, NeedleX(0), c - kHalfMark, c + kHalfMark);
  guard.Restore();
  guard.Select(dc, selected ? selectedPen_.Get() : nullPen_.Get(), barBrush_);
  const int inset = selected ? 2 : 0;
  Rectangle(dc, BarLeft() + inset, c - kHalfBar, BarRight() - inset, c + kHalfBar);
  guard.Restore();
  guard.Select(dc, nullPen_, zoneBrush_);
  Rectangle(dc, NeedleX(-kOkCents), c - kHalfZone, NeedleX(kOkCents) + 1, c + kHalfZone);
  guard.Restore();
  if (!Heard(i)) return;
  guard.SelectPen(dc, needlePen_);
  VerticalLine(dc, NeedleX(reading_.strings[i].cents), c - kHalfNeedle, c + kHalfNeedle);
}

// Row by row, name then deviation, so the screen's text reads as the rows do.
void StrumPanel::PaintTexts(HDC dc, const GuitarPanel &strings) const {
  for (int i = 0; i < rows; ++i) {
    const int c = RowCentre(i);
    PaintProcs::GdiFontSelect font;
    font.Select(nameStyle_, dc);
    const wchar_t *name = GetPitchShortName(strings.notes[i]);
    ExtTextOutW(dc, rect.left + kMargin, Nearest(c - nameStyle_.height / 2.0), 0, nullptr, name,
                static_cast<UINT>(std::wcslen(name)), nullptr);
    font.Restore();
    const std::wstring word = Word(i);
    if (word.empty()) continue;
    const FontSpec &style = word == L"Ok" ? nameStyle_ : valueStyle_;
    font.Select(style, dc);
    RightText(dc, word, rect.right - kMargin, Nearest(c - style.height / 2.0));
  }
}
