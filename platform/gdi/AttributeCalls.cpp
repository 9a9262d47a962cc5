// Text attributes of a DC and the metrics of its font.
#include <utility>

#include "FontFace.h"
#include "GdiState.h"

using namespace gdi;

// Each setter returns the attribute's previous value, or its failure value
// for an unknown DC.
int SetBkMode(HDC hdc, int mode) {
  Dc *dc = FindDc(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(dc->bkMode, mode);
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  Dc *dc = FindDc(hdc);
  return dc ? std::exchange(dc->bkColor, color & 0xFFFFFF) : CLR_INVALID;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  Dc *dc = FindDc(hdc);
  return dc ? std::exchange(dc->textColor, color & 0xFFFFFF) : CLR_INVALID;
}

UINT SetTextAlign(HDC hdc, UINT align) {
  Dc *dc = FindDc(hdc);
  return dc ? std::exchange(dc->textAlign, align) : GDI_ERROR;
}

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW *tm) {
  Dc *dc = FindDc(hdc);
  if (!dc || !tm) return FALSE;
  const Object *font = Current().Handles().Find(dc->font);
  const FontFace &face = *font->font.face;
  *tm = TEXTMETRICW{};
  tm->tmHeight = face.Height();
  tm->tmAscent = face.Ascent();
  tm->tmDescent = face.Descent();
  tm->tmInternalLeading = face.InternalLeading();
  tm->tmAveCharWidth = face.Lookup(L'x').advance;
  tm->tmMaxCharWidth = face.MaxAdvance();
  tm->tmWeight = font->font.log.lfWeight;
  tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
  tm->tmFirstChar = L' ';
  tm->tmLastChar = 0xFFFD;
  tm->tmDefaultChar = L'?';
  tm->tmBreakChar = L' ';
  tm->tmItalic = font->font.log.lfItalic;
  return TRUE;
}
