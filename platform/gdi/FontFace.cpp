#include "FontFace.h"

#include <cmath>
#include <cwctype>
#include <string>

#include "gdi/Utf8.h"

namespace gdi {
namespace {

constexpr LONG kDefaultCellHeight = 16;
constexpr LONG kMaxHeight = 16384;  // pixels; beyond any screen

cairo_scaled_font_t *MakeScaled(cairo_font_face_t *face, double em, bool hinted) {
  cairo_matrix_t size, identity;
  cairo_matrix_init_scale(&size, em, em);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t *options = cairo_font_options_create();
  // Grey anti-aliasing reads well and stays colour-neutral in screenshots;
  // hinted metrics give whole-pixel advances, as GDI's do.
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
  cairo_font_options_set_hint_style(options, hinted ? CAIRO_HINT_STYLE_SLIGHT : CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, hinted ? CAIRO_HINT_METRICS_ON : CAIRO_HINT_METRICS_OFF);
  cairo_scaled_font_t *scaled = cairo_scaled_font_create(face, &size, &identity, options);
  cairo_font_options_destroy(options);
  if (cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS) return scaled;
  cairo_scaled_font_destroy(scaled);
  return nullptr;
}

}  // namespace

FontFace::FontFace(const char *family, bool bold, bool italic, LONG lfHeight) {
  face_ = cairo_toy_font_face_create(family, italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                     bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_scaled_font_t *unit = MakeScaled(face_, 1.0, false);
  if (!unit) return;
  cairo_font_extents_t e;
  cairo_scaled_font_extents(unit, &e);
  cairo_scaled_font_destroy(unit);
  double cellPerEm = e.ascent + e.descent;
  if (cellPerEm <= 0) return;
  // Win32: a positive height asks for the cell, a negative one for the em.
  double em = lfHeight < 0 ? -lfHeight : (lfHeight > 0 ? lfHeight : kDefaultCellHeight) / cellPerEm;
  int cell = lfHeight > 0 ? lfHeight : lfHeight < 0 ? static_cast<int>(std::lround(em * cellPerEm)) : kDefaultCellHeight;
  scaled_ = MakeScaled(face_, em, true);
  if (!scaled_) return;
  ascent_ = static_cast<int>(std::lround(em * e.ascent));
  descent_ = cell - ascent_;
  internalLeading_ = cell - static_cast<int>(std::lround(em));
  maxAdvance_ = static_cast<int>(std::lround(em * e.max_x_advance));
}

FontFace::~FontFace() {
  if (scaled_) cairo_scaled_font_destroy(scaled_);
  if (face_) cairo_font_face_destroy(face_);
}

FontFace::Glyph FontFace::Make(wchar_t c) const {
  Glyph glyph;
  if (static_cast<unsigned long>(c) < 0x20 || !scaled_) return glyph;
  char utf8[4];
  const int length = platform::Utf8(c, utf8);
  cairo_glyph_t *glyphs = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(scaled_, 0, 0, utf8, length, &glyphs, &count, nullptr, nullptr,
                                       nullptr) == CAIRO_STATUS_SUCCESS &&
      count == 1) {
    cairo_text_extents_t extents;
    cairo_scaled_font_glyph_extents(scaled_, glyphs, 1, &extents);
    glyph.index = glyphs[0].index;
    glyph.advance = static_cast<int>(std::lround(extents.x_advance));
    glyph.drawn = true;
  }
  cairo_glyph_free(glyphs);
  return glyph;
}

const FontFace::Glyph &FontFace::Lookup(wchar_t c) const {
  auto u = static_cast<unsigned long>(c);
  if (u < ascii_.size()) {
    if (!asciiKnown_[u]) {
      ascii_[u] = Make(c);
      asciiKnown_[u] = true;
    }
    return ascii_[u];
  }
  auto found = others_.find(c);
  if (found == others_.end()) found = others_.emplace(c, Make(c)).first;
  return found->second;
}

int FontFace::Width(const wchar_t *text, int count) const {
  int width = 0;
  for (int i = 0; i < count; ++i) width += Lookup(text[i]).advance;
  return width;
}

const char *HostFamily(const WCHAR *faceName) {
  static const wchar_t *const kMonospaced[] = {L"courier new", L"courier", L"lucida console", L"consolas"};
  std::wstring name;
  for (int i = 0; i < LF_FACESIZE && faceName[i]; ++i) name += static_cast<wchar_t>(std::towlower(faceName[i]));
  for (const wchar_t *mono : kMonospaced)
    if (name == mono) return "DejaVu Sans Mono";
  return "DejaVu Sans";
}

std::shared_ptr<const FontFace> FontCache::Get(const LOGFONTW &log) {
  const char *family = HostFamily(log.lfFaceName);
  bool bold = log.lfWeight >= 600;
  bool italic = log.lfItalic != 0;
  std::string key = std::string(family) + '/' + (bold ? 'b' : 'n') + (italic ? 'i' : 'r') + '/' +
                    std::to_string(log.lfHeight);
  if (log.lfHeight < -kMaxHeight || log.lfHeight > kMaxHeight) return nullptr;
  auto found = faces_.find(key);
  if (found != faces_.end()) return found->second;
  auto face = std::make_shared<const FontFace>(family, bold, italic, log.lfHeight);
  if (!face->Valid()) return nullptr;
  faces_.emplace(key, face);
  return face;
}

}  // namespace gdi
