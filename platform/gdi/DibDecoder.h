#pragma once

// Reads a device-independent bitmap (a .bmp file, or a bitmap resource,
// which is the same without the 14-byte file header): uncompressed 24- or
// 32-bit, bottom-up or top-down. Internal to the gdi module.
#include <cairo.h>

#include <span>

namespace gdi {

// A new RGB24 surface, or null for data that is not such a bitmap.
cairo_surface_t *DecodeDib(std::span<const unsigned char> bytes);

}  // namespace gdi
