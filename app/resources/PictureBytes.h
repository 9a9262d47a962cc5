#pragma once

// What the build-time picture generators share: cairo colours from 0..255
// components, little-endian words, and writing a file whole.
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline void Colour(cairo_t *cr, int r, int g, int b) { cairo_set_source_rgb(cr, r / 255.0, g / 255.0, b / 255.0); }

inline void Put16(std::vector<uint8_t> &out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

inline void Put32(std::vector<uint8_t> &out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// False when the file cannot be made or not all of `bytes` reached it.
inline bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes) {
  FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
