#include "DibDecoder.h"

#include <cstdint>
#include <cstdlib>

namespace gdi {
namespace {

constexpr int kMaxSide = 16384;

uint32_t U32(const unsigned char *p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24; }
uint16_t U16(const unsigned char *p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

struct Layout {
  int width = 0, height = 0, bits = 0;
  bool topDown = false;
  size_t pixels = 0, stride = 0;
};

bool ReadHeader(std::span<const unsigned char> b, Layout *l) {
  size_t base = 0, pixels = 0;
  if (b.size() >= 14 && b[0] == 'B' && b[1] == 'M') {
    base = 14;
    pixels = U32(&b[10]);
  }
  if (b.size() < base + 40) return false;
  const unsigned char *h = &b[base];
  uint32_t headerSize = U32(h);
  auto height = static_cast<int32_t>(U32(h + 8));
  l->width = static_cast<int32_t>(U32(h + 4));
  l->bits = U16(h + 14);
  uint32_t compression = U32(h + 16), colours = U32(h + 32);
  if (headerSize < 40 || U16(h + 12) != 1 || compression != 0 || (l->bits != 24 && l->bits != 32)) return false;
  if (height == INT32_MIN || l->width <= 0 || l->width > kMaxSide || std::abs(height) > kMaxSide || height == 0)
    return false;
  l->topDown = height < 0;
  l->height = std::abs(height);
  l->pixels = base ? pixels : base + headerSize + size_t{colours} * 4;
  l->stride = (static_cast<size_t>(l->width) * l->bits + 31) / 32 * 4;
  return l->pixels <= b.size() && l->stride * l->height <= b.size() - l->pixels;
}

}  // namespace

cairo_surface_t *DecodeDib(std::span<const unsigned char> bytes) {
  Layout l;
  if (!ReadHeader(bytes, &l)) return nullptr;
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, l.width, l.height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  unsigned char *out = cairo_image_surface_get_data(surface);
  int outStride = cairo_image_surface_get_stride(surface);
  size_t step = l.bits / 8;
  for (int y = 0; y < l.height; ++y) {
    const unsigned char *row = &bytes[l.pixels + l.stride * (l.topDown ? y : l.height - 1 - y)];
    auto *dst = reinterpret_cast<uint32_t *>(out + static_cast<ptrdiff_t>(y) * outStride);
    for (int x = 0; x < l.width; ++x, row += step) dst[x] = row[0] | row[1] << 8 | uint32_t{row[2]} << 16;
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

}  // namespace gdi
