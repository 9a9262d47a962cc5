#include "StrobePanel.h"

#include <algorithm>
#include <cwchar>

#include "CentsText.h"
#include "GdiFontSelect.h"
#include "GdiObjSelect.h"
#include "Rounding.h"
#include "measure/MidiTypes.h"

namespace {

constexpr int kMargin = 5;
constexpr int kBandsTop = 112, kBandsHeight = 64;

// `text` placed by `format` (DT_LEFT, DT_CENTER, DT_RIGHT) between `left`
// and `right`, its top at `top`, unclipped.
void Text(HDC dc, const std::wstring &text, int left, int right, int top, UINT format) {
  RECT box{left, top, right, top};
  DrawTextW(dc, text.c_str(), -1, &box, format | DT_NOCLIP);
}

std::wstring Hertz(double hertz) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%.2f Hz", hertz);
  return text;
}

}  // namespace

StrobePanel::StrobePanel()
    : nullPen_(CreatePen(PS_NULL, 0, 0)),
      darkBrush_(CreateSolidBrush(RGB(202, 66, 0))),
      stillBrush_(CreateSolidBrush(RGB(166, 166, 166))) {
  nameStyle_.Create(L"Verdana", 40, true);
  centsStyle_.Create(L"Verdana", 28, true);
  valueStyle_.Create(L"Verdana", 16, false);
  legendStyle_.Create(L"Verdana", 13, false);
  for (FontSpec *style : {&nameStyle_, &centsStyle_, &valueStyle_, &legendStyle_}) {
    style->backColor = background_;
    style->textColor = 0x000000;
    style->backMode = TRANSPARENT;
    style->textAlign = TA_LEFT | TA_TOP;
  }
}

void StrobePanel::SetReading(double pitch, double target, uint32_t ms) {
  pitch_ = pitch;
  motion_.Set(pitch != 0, (pitch - target) * 100, ms);
}

RECT StrobePanel::BandsRect() const {
  return {rect.left + kMargin, rect.top + kBandsTop, rect.right - kMargin, rect.top + kBandsTop + kBandsHeight};
}

std::wstring StrobePanel::Deviation() const {
  return motion_.Heard() ? CentsText(motion_.Cents()) : L"-";
}

int StrobePanel::Shift(uint32_t ms) const { return Rounding::Nearest(motion_.Offset(ms) * kBandWidth); }

std::wstring StrobePanel::Shown(double reference, int note, double target) const {
  std::wstring shown = motion_.Heard() ? Hertz(FrequencyFromNote(pitch_, reference)) : L"-";
  wchar_t a[32];
  std::swprintf(a, 32, L"|%.2f|%d|", reference, note);
  shown += a;
  if (note > 0) shown += Hertz(FrequencyFromNote(target, reference));
  return shown + L"|" + Deviation();
}

void StrobePanel::Paint(HDC dc, double reference, int note, double target, uint32_t ms,
                        const RECT &paintRect) const {
  const RECT bands = BandsRect();
  if (paintRect.left >= bands.left && paintRect.top >= bands.top && paintRect.right <= bands.right &&
      paintRect.bottom <= bands.bottom)
    return PaintBands(dc, ms);
  SetBkColor(dc, background_);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, L"", 0, nullptr);
  PaintTexts(dc, reference, note, target);
  PaintBands(dc, ms);
}

// Dark bands on light ones, a dark band and a light one to a period, shifted
// by the motion's offset; cut at the strip's ends.
void StrobePanel::PaintBands(HDC dc, uint32_t ms) const {
  const RECT strip = BandsRect();
  const bool heard = motion_.Heard();
  SetBkColor(dc, heard ? light_ : stillLight_);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &strip, L"", 0, nullptr);
  PaintProcs::GdiObjSelect guard;
  guard.Select(dc, nullPen_, heard ? darkBrush_.Get() : stillBrush_.Get());
  const int shift = Shift(ms);
  for (int x = strip.left + shift - 2 * kBandWidth; x < strip.right; x += 2 * kBandWidth) {
    const int left = std::max<int>(x, strip.left), right = std::min<int>(x + kBandWidth, strip.right);
    // Rectangle leaves out the right and bottom edges of a null pen's shape.
    if (left < right) Rectangle(dc, left, strip.top, right + 1, strip.bottom + 1);
  }
}

void StrobePanel::PaintTexts(HDC dc, double reference, int note, double target) const {
  const int left = rect.left + kMargin, right = rect.right - kMargin;
  PaintProcs::GdiFontSelect font;
  font.Select(valueStyle_, dc);
  wchar_t a[32];
  std::swprintf(a, 32, L"A %.2f", reference);
  Text(dc, a, left, right, rect.top + 7, DT_LEFT);
  if (motion_.Heard()) Text(dc, Hertz(FrequencyFromNote(pitch_, reference)), left, right, rect.top + 7, DT_RIGHT);
  if (note > 0) {
    Text(dc, Hertz(FrequencyFromNote(target, reference)), left, right, rect.top + 86, DT_CENTER);
    font.Restore();
    font.Select(nameStyle_, dc);
    Text(dc, GetPitchShortName(note), left, right, rect.top + 34, DT_CENTER);
  }
  font.Restore();
  font.Select(centsStyle_, dc);
  Text(dc, Deviation(), left, right, rect.top + kBandsTop + kBandsHeight + 10, DT_CENTER);
  font.Restore();
  font.Select(legendStyle_, dc);
  const int legend = rect.bottom - legendStyle_.height - 6;
  Text(dc, L"\x25C0 flat", left, right, legend, DT_LEFT);
  Text(dc, L"sharp \x25B6", left, right, legend, DT_RIGHT);
  Text(dc, L"1 cent: a band/s", left, right, legend, DT_CENTER);
}
