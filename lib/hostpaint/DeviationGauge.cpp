#include "DeviationGauge.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "GdiFontSelect.h"
#include "GdiObjSelect.h"
#include "Rounding.h"

namespace {

constexpr double kMaxHalfSpan = 1.3962634;  // 80 degrees
constexpr int kShortMark = 10;
constexpr int kLongMark = 20;
constexpr int kWordFromRight = 75;

using Rounding::Nearest;

}  // namespace

DeviationGauge::DeviationGauge()
    : needlePen_(CreatePen(PS_SOLID, 4, RGB(255, 128, 64))),
      idlePen_(CreatePen(PS_SOLID, 4, RGB(192, 192, 192))),
      markPen_(CreatePen(PS_SOLID, 4, RGB(202, 66, 0))) {
  for (FontSpec *style : {&wordStyle_, &tickStyle_}) {
    style->Create(L"Verdana", style == &wordStyle_ ? 20 : 16, style == &wordStyle_);
    style->backColor = background_;
    style->textColor = 0x000000;
    style->backMode = OPAQUE;
    style->textAlign = TA_RIGHT;
  }
  LoadCoarseTicks();
}

void DeviationGauge::LoadCoarseTicks() { ticks = {-0.4, 0.4, -0.3, 0.3, -0.2, 0.2, -0.1, 0.1}; }

void DeviationGauge::LoadFineTicks() {
  ticks = {-0.4, 0.4, -0.3, 0.3, -0.2, 0.2, -0.1, 0.1, -0.03, 0.03, -0.02, 0.02, -0.01, 0.01};
}

POINT DeviationGauge::Pivot() const { return {rect.left, Nearest((rect.top + rect.bottom) / 2.0)}; }

double DeviationGauge::HalfSpan() const {
  const double width = rect.right - rect.left - 10.0, half = (rect.bottom - rect.top) / 2.0;
  const double across = std::max(width, half);
  if (!(across > 0)) return 0;  // no room for a needle
  return std::min(std::asin(half / across), kMaxHalfSpan);
}

double DeviationGauge::Angle(double v) const { return -(2 * HalfSpan() * v / (maximum - minimum)); }

DeviationGauge::Spot DeviationGauge::At(double v, int inset) const {
  const double a = Angle(v), length = rect.right - rect.left - 10.0 - inset;
  return {(rect.right - 10.0 - inset) * std::cos(a), (rect.top + rect.bottom) / 2.0 + length * std::sin(a)};
}

POINT DeviationGauge::PointFor(double v) const {
  const Spot s = At(v, 0);
  return {Nearest(s.x), Nearest(s.y)};
}

const wchar_t *DeviationGauge::Direction() const { return DirectionOf(value); }

const wchar_t *DeviationGauge::DirectionOf(double v) const {
  if (!valid) return nullptr;
  if (v > upperOk) return L"Down";
  if (v < lowerOk) return L"Up";
  return L"Ok";
}

std::wstring DeviationGauge::Shown(double v) const {
  const POINT tip = PointFor(std::clamp(v, minimum, maximum));
  const wchar_t *word = DirectionOf(v);
  wchar_t text[160];
  std::swprintf(text, 160, L"%d,%d|%ls|%a|%a|%a|%a|%d,%d,%d,%d|", static_cast<int>(tip.x), static_cast<int>(tip.y),
                word ? word : L"-", minimum, maximum, lowerOk, upperOk, static_cast<int>(rect.left),
                static_cast<int>(rect.top), static_cast<int>(rect.right), static_cast<int>(rect.bottom));
  std::wstring shown = text;
  for (double t : ticks) {
    std::swprintf(text, 160, L"%a,", t);
    shown += text;
  }
  return shown;
}

void DeviationGauge::Paint() const {
  SetBkColor(context, background_);
  ExtTextOutW(context, 0, 0, ETO_OPAQUE, &rect, L"", 0, nullptr);
  PaintScale();
  PaintNeedle();
  PaintDirection();
}

void DeviationGauge::PaintScale() const {
  PaintProcs::GdiObjSelect pen;
  pen.SelectPen(context, markPen_);
  if (OnScale(0)) PaintMark(0, kLongMark);
  for (double v : {minimum, maximum, lowerOk, upperOk})
    if (OnScale(v)) PaintMark(v, kShortMark);
  for (double v : ticks)
    if (OnScale(v)) PaintLabel(v, PaintMark(v, kShortMark));
}

DeviationGauge::Spot DeviationGauge::PaintMark(double v, int length) const {
  const POINT outer = PointFor(v);
  const Spot inner = At(v, length);
  MoveToEx(context, outer.x, outer.y, nullptr);
  LineTo(context, Nearest(inner.x), Nearest(inner.y));
  return inner;
}

// Labels use whatever font the context has: the tick style only places them.
void DeviationGauge::PaintLabel(double v, Spot inner) const {
  wchar_t label[32];
  std::swprintf(label, 32, L"%1.2f", v);
  RECT box{rect.left, Nearest(inner.y - tickStyle_.height / 2.0), Rounding::Trunc(inner.x), rect.bottom};
  DrawTextW(context, label, -1, &box, DT_RIGHT | DT_NOCLIP);
}

void DeviationGauge::PaintNeedle() const {
  PaintProcs::GdiObjSelect pen;
  pen.SelectPen(context, valid ? needlePen_.Get() : idlePen_.Get());
  const POINT pivot = Pivot(), tip = PointFor(std::clamp(value, minimum, maximum));
  MoveToEx(context, pivot.x, pivot.y, nullptr);
  LineTo(context, tip.x, tip.y);
}

void DeviationGauge::PaintDirection() const {
  const wchar_t *word = Direction();
  if (!word) return;
  PaintProcs::GdiFontSelect font;
  font.Select(wordStyle_, context);
  const int y = Nearest((rect.top + rect.bottom) / 2.0 - wordStyle_.height / 2.0);
  ExtTextOutW(context, rect.right - kWordFromRight, y, 0, nullptr, word, static_cast<UINT>(std::wcslen(word)), nullptr);
}
