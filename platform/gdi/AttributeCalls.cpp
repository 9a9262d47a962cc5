// Text attributes of a DC and the metrics of its font.
#include "FontFace.h"
#include "GdiState.h"

using namespace gdi;

int SetBkMode(HDC hdc, int mode) {
  Dc *dc = FindDc(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int previous = dc->bkMode;
  dc->bkMode = mode;
  return previous;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  Dc *dc = FindDc(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->bkColor;
  dc->bkColor = color & 0xFFFFFF;
  return previous;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  Dc *dc = FindDc(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF previous = dc->textColor;
  dc->textColor = color & 0xFFFFFF;
  return previous;
}

UINT SetTextAlign(HDC hdc, UINT align) {
  Dc *dc = FindDc(hdc);
  if (!dc) return GDI_ERROR;
  UINT previous = dc->textAlign;
  dc->textAlign = align;
  return previous;
}

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW *tm) {
  Dc *dc = FindDc(hdc);
  if (!dc || !tm) return FALSE;
  const Object *font = State::Get().Handles().Find(dc->font);
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
