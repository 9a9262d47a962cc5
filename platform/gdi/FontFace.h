#pragma once

// A font ready to draw: a cairo scaled font sized so that its cell height
// (ascent + descent) is the LOGFONTW height, its metrics in whole pixels, and
// a cache of glyph indices and advances. Faces are shared through FontCache;
// a face is immutable apart from its glyph cache. One thread.
#include <cairo.h>

#include <array>
#include <memory>
#include <string>
#include <unordered_map>

#include "win/gdi.h"

namespace gdi {

class FontFace {
 public:
  struct Glyph {
    unsigned long index = 0;
    int advance = 0;  // pixels; 0 for control characters
    bool drawn = false;
  };

  FontFace(const char *family, bool bold, bool italic, LONG lfHeight);
  ~FontFace();
  FontFace(const FontFace &) = delete;
  FontFace &operator=(const FontFace &) = delete;

  bool Valid() const { return scaled_ != nullptr; }
  cairo_scaled_font_t *Scaled() const { return scaled_; }
  int Height() const { return ascent_ + descent_; }
  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }
  int InternalLeading() const { return internalLeading_; }
  int MaxAdvance() const { return maxAdvance_; }
  const Glyph &Lookup(wchar_t c) const;
  int Width(const wchar_t *text, int count) const;

 private:
  Glyph Make(wchar_t c) const;

  cairo_font_face_t *face_ = nullptr;
  cairo_scaled_font_t *scaled_ = nullptr;
  int ascent_ = 0, descent_ = 0, internalLeading_ = 0, maxAdvance_ = 0;
  mutable std::array<Glyph, 128> ascii_{};
  mutable std::array<bool, 128> asciiKnown_{};
  mutable std::unordered_map<wchar_t, Glyph> others_;
};

// The host family that stands in for a Win32 face name: monospaced faces
// become "DejaVu Sans Mono", every other face "DejaVu Sans".
const char *HostFamily(const WCHAR *faceName);

// Shares one FontFace per (family, weight class, italic, height) for the life
// of the phone.
class FontCache {
 public:
  std::shared_ptr<const FontFace> Get(const LOGFONTW &log);

 private:
  std::unordered_map<std::string, std::shared_ptr<const FontFace>> faces_;
};

}  // namespace gdi
