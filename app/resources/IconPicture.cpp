// Draws the program's icon, a needle gauge on a dark tile, and writes it for
// the desktop and for the program's own resources:
//   IconPicture OUTDIR
// writes drovane-48.png, drovane-128.png, drovane-256.png and drovane.svg
// (desktop menus, software centres), and the Win32 icon resources:
// IconGroup.bin (the icon group) with Icon16.bin and Icon32.bin (32-bit icon
// images), all little-endian.
#include <cairo-svg.h>

#include <cmath>

#include "PictureBytes.h"

namespace {

// Drawn on a 64-unit square, scaled to the size asked for.
void Tile(cairo_t *cr) {
  const double r = 12;
  cairo_new_sub_path(cr);
  cairo_arc(cr, 64 - r, r, r, -M_PI / 2, 0);
  cairo_arc(cr, 64 - r, 64 - r, r, 0, M_PI / 2);
  cairo_arc(cr, r, 64 - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, r, r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
  Colour(cr, 38, 44, 56);
  cairo_fill(cr);
}

// The tuner's gauge: pivot at the left, scale on the right, in-tune mark
// in the middle, the needle just sharp of it.
void Gauge(cairo_t *cr) {
  const double px = 12, py = 32, radius = 40, span = 0.75;
  Colour(cr, 245, 245, 245);
  cairo_set_line_width(cr, 5);
  cairo_arc(cr, px, py, radius, -span, span);
  cairo_stroke(cr);
  Colour(cr, 202, 66, 0);
  cairo_set_line_width(cr, 4);
  for (double a : {-span, -span / 2, 0.0, span / 2, span}) {
    const double inner = a == 0 ? radius - 14 : radius - 8;
    cairo_move_to(cr, px + inner * std::cos(a), py + inner * std::sin(a));
    cairo_line_to(cr, px + radius * std::cos(a), py + radius * std::sin(a));
    cairo_stroke(cr);
  }
  Colour(cr, 255, 128, 64);
  cairo_set_line_width(cr, 5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, px, py);
  cairo_line_to(cr, px + (radius - 2) * std::cos(-0.12), py + (radius - 2) * std::sin(-0.12));
  cairo_stroke(cr);
  cairo_arc(cr, px, py, 5, 0, 2 * M_PI);
  cairo_fill(cr);
}

void DrawOn(cairo_surface_t *surface, int size) {
  cairo_t *cr = cairo_create(surface);
  cairo_scale(cr, size / 64.0, size / 64.0);
  Tile(cr);
  Gauge(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
}

cairo_surface_t *Draw(int size) {
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  DrawOn(surface, size);
  return surface;
}

// An RT_ICON image: a BITMAPINFOHEADER of twice the height, the colour rows
// bottom-up (BGRA, as cairo stores them on a little-endian host), then an
// all-clear AND mask (the alpha channel does the masking).
std::vector<uint8_t> IconImage(int size) {
  cairo_surface_t *surface = Draw(size);
  const uint8_t *pixels = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const int maskStride = ((size + 31) / 32) * 4;
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, size);
  Put32(out, 2 * size);
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);  // no compression, sizes and colours unused
  for (int y = size - 1; y >= 0; --y) out.insert(out.end(), pixels + y * stride, pixels + y * stride + 4 * size);
  out.insert(out.end(), static_cast<size_t>(maskStride) * size, 0);
  cairo_surface_destroy(surface);
  return out;
}

// GRPICONDIR with one GRPICONDIRENTRY per image; image i has resource id i + 1.
std::vector<uint8_t> IconGroup(const std::vector<std::pair<int, size_t>> &images) {
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<uint8_t>(images[i].first));
    out.push_back(static_cast<uint8_t>(images[i].first));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<uint32_t>(images[i].second));
    Put16(out, i + 1);
  }
  return out;
}

bool WritePng(const std::string &path, int size) {
  cairo_surface_t *surface = Draw(size);
  const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

// The same drawing as vector paths, 64 pixels square at its natural size.
bool WriteSvg(const std::string &path) {
  cairo_surface_t *surface = cairo_svg_surface_create(path.c_str(), 64, 64);
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
  DrawOn(surface, 64);
  cairo_surface_finish(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const std::vector<uint8_t> small = IconImage(16), large = IconImage(32);
  const bool ok = WritePng(dir + "/drovane-48.png", 48) && WritePng(dir + "/drovane-128.png", 128) &&
                  WritePng(dir + "/drovane-256.png", 256) && WriteSvg(dir + "/drovane.svg") &&
                  WriteFile(dir + "/Icon16.bin", small) && WriteFile(dir + "/Icon32.bin", large) &&
                  WriteFile(dir + "/IconGroup.bin", IconGroup({{16, small.size()}, {32, large.size()}}));
  if (!ok) std::fprintf(stderr, "%s: cannot write the icon into %s\n", argv[0], dir.c_str());
  return ok ? 0 : 1;
}
