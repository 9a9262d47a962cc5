// Text output: one run per line, placed by the DC's text alignment.
#include <cwchar>
#include <vector>

#include "DeviceContext.h"
#include "FontFace.h"
#include "GdiState.h"

using namespace gdi;

namespace {

int RunWidth(const FontFace &face, const wchar_t *text, int count, const INT *dx) {
  if (!dx) return face.Width(text, count);
  int width = 0;
  for (int i = 0; i < count; ++i) width += dx[i];
  return width;
}

void ShowGlyphs(Dc &dc, const FontFace &face, int left, int baseline, const wchar_t *text, int count,
                const INT *dx) {
  static std::vector<cairo_glyph_t> glyphs;  // reused: paints are frequent, runs short
  glyphs.clear();
  int x = left;
  for (int i = 0; i < count; ++i) {
    const FontFace::Glyph &g = face.Lookup(text[i]);
    if (g.drawn) glyphs.push_back({g.index, static_cast<double>(x), static_cast<double>(baseline)});
    x += dx ? dx[i] : g.advance;
  }
  if (glyphs.empty()) return;
  cairo_set_scaled_font(dc.cr, face.Scaled());
  SetSourceColor(dc.cr, dc.textColor);
  cairo_show_glyphs(dc.cr, glyphs.data(), static_cast<int>(glyphs.size()));
}

// Draws one line with (x, y) meaning what the DC's alignment says; the cell
// behind it is filled in opaque mode. `clip` (logical) may be null.
void DrawRun(Dc &dc, int x, int y, const wchar_t *text, int count, const INT *dx, const RECT *clip) {
  const FontFace &face = *DcFont(dc);
  int width = RunWidth(face, text, count, dx);
  UINT horizontal = dc.textAlign & TA_CENTER, vertical = dc.textAlign & TA_BASELINE;
  int left = horizontal == TA_CENTER ? x - width / 2 : horizontal == TA_RIGHT ? x - width : x;
  int baseline = vertical == TA_BASELINE ? y : vertical == TA_BOTTOM ? y - face.Descent() : y + face.Ascent();
  int top = baseline - face.Ascent();
  if (clip) {
    cairo_save(dc.cr);
    cairo_rectangle(dc.cr, clip->left, clip->top, clip->right - clip->left, clip->bottom - clip->top);
    cairo_clip(dc.cr);
  }
  if (dc.bkMode == OPAQUE) FillRect(dc, {left, top, left + width, top + face.Height()}, dc.bkColor);
  ShowGlyphs(dc, face, left, baseline, text, count, dx);
  if (clip) cairo_restore(dc.cr);
}

// Length of the line starting at `text`, and where the next one starts.
int NextLine(const wchar_t *text, int count, int *next) {
  int n = 0;
  while (n < count && text[n] != L'\r' && text[n] != L'\n') ++n;
  *next = n;
  if (n < count) {
    *next = n + 1;
    if (text[n] == L'\r' && n + 1 < count && text[n + 1] == L'\n') ++*next;
  }
  return n;
}

void Announce(const wchar_t *text, int count) {
  const auto &listener = Current().textListener;
  if (listener && count > 0) listener(std::wstring_view(text, static_cast<size_t>(count)));
}

}  // namespace

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT *rect, LPCWSTR text, UINT count,
                 const INT *dx) {
  Dc *dc = FindDc(hdc);
  if (!dc) return FALSE;
  if ((options & ETO_OPAQUE) && rect) FillRect(*dc, *rect, dc->bkColor);
  if (!text || count == 0) return TRUE;
  Announce(text, static_cast<int>(count));
  DrawRun(*dc, x, y, text, static_cast<int>(count), dx, (options & ETO_CLIPPED) ? rect : nullptr);
  return TRUE;
}

int DrawTextW(HDC hdc, LPCWSTR text, int count, RECT *rect, UINT format) {
  Dc *dc = FindDc(hdc);
  if (!dc || !text || !rect || count < -1) return 0;
  if (count == -1) count = static_cast<int>(std::wcslen(text));
  Announce(text, count);
  const FontFace &face = *DcFont(*dc);
  const RECT *clip = (format & DT_NOCLIP) ? nullptr : rect;
  int y = rect->top;
  while (count > 0) {
    int next;
    int length = NextLine(text, count, &next);
    int width = face.Width(text, length);
    int x = (format & DT_RIGHT)    ? rect->right - width
            : (format & DT_CENTER) ? (rect->left + rect->right - width) / 2
                                   : rect->left;
    DrawRun(*dc, x, y, text, length, nullptr, clip);
    y += face.Height();
    text += next;
    count -= next;
  }
  return y - rect->top;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, SIZE *size) {
  Dc *dc = FindDc(hdc);
  if (!dc || !size || count < 0 || (!text && count > 0)) return FALSE;
  const FontFace &face = *DcFont(*dc);
  *size = {face.Width(text, count), face.Height()};
  return TRUE;
}
