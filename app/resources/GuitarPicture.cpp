// Draws the guitar picture of the tuner's string panel and writes it as a
// 24-bit BMP: GuitarPicture OUTPUT.bmp. The headstock faces left and the neck
// runs right, so the six strings cross the picture horizontally, the lowest at
// the top, each centred at its bar's share of the height.
#include <cmath>

#include "PictureBytes.h"

namespace {

constexpr int kWidth = 74, kHeight = 112;
constexpr double kStrings[6] = {0.264, 0.365, 0.462, 0.562, 0.666, 0.762};
constexpr double kPostX[6] = {7, 14, 21, 21, 14, 7};  // low E farthest from the nut, as on a 3+3 head
constexpr double kNut = 30, kBoardTop = 0.205 * kHeight, kBoardBottom = 0.825 * kHeight;

struct Rgb {
  int r, g, b;
};

// Fills the current path, then draws its outline.
void FillAndOutline(cairo_t *cr, Rgb fill, Rgb line, double width) {
  Colour(cr, fill.r, fill.g, fill.b);
  cairo_fill_preserve(cr);
  Colour(cr, line.r, line.g, line.b);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void Headstock(cairo_t *cr) {
  cairo_move_to(cr, kNut + 1, kBoardTop - 1);
  cairo_curve_to(cr, 20, 16, 10, 11, 4, 12);
  cairo_curve_to(cr, 1, 30, 1, 82, 4, 100);
  cairo_curve_to(cr, 10, 101, 20, 96, kNut + 1, kBoardBottom + 1);
  cairo_close_path(cr);
  FillAndOutline(cr, {122, 74, 38}, {66, 38, 18}, 1);
}

// Tuner keys stick out of the head's edges: bass side at the top, treble below.
void Tuners(cairo_t *cr) {
  for (int i = 0; i < 6; ++i) {
    double x = kPostX[i] + 2.5, y = kStrings[i] * kHeight, edge = i < 3 ? 4 : kHeight - 4;
    Colour(cr, 150, 150, 155);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x, edge);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, x, edge);
    cairo_scale(cr, 3, 4);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    FillAndOutline(cr, {212, 212, 218}, {110, 110, 118}, 0.8);
  }
}

void Fretboard(cairo_t *cr) {
  Colour(cr, 72, 42, 30);
  cairo_rectangle(cr, kNut, kBoardTop, kWidth - kNut, kBoardBottom - kBoardTop);
  cairo_fill(cr);
  Colour(cr, 232, 222, 192);  // binding
  cairo_rectangle(cr, kNut, kBoardTop - 1, kWidth - kNut, 1);
  cairo_rectangle(cr, kNut, kBoardBottom, kWidth - kNut, 1);
  cairo_fill(cr);
  Colour(cr, 236, 228, 200);  // nut
  cairo_rectangle(cr, kNut, kBoardTop - 1, 3, kBoardBottom - kBoardTop + 2);
  cairo_fill(cr);
  double last = kNut + 3;
  for (int n = 1; n <= 7; ++n) {  // frets at the twelfth-root-of-two spacing
    double x = std::floor(kNut + 3 + 110 * (1 - std::pow(2.0, -n / 12.0)));
    Colour(cr, 196, 196, 202);
    cairo_rectangle(cr, x, kBoardTop, 1, kBoardBottom - kBoardTop);
    cairo_fill(cr);
    if (n == 3 || n == 5) {
      Colour(cr, 238, 236, 226);
      cairo_arc(cr, (last + x) / 2 + 0.5, (kStrings[2] + kStrings[3]) / 2 * kHeight, 2.2, 0, 2 * M_PI);
      cairo_fill(cr);
    }
    last = x;
  }
}

// Strings are whole-pixel rows, so each covers the row its centre falls in.
void Strings(cairo_t *cr) {
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  for (int i = 0; i < 6; ++i) {
    double centre = kStrings[i] * kHeight;
    int thickness = i < 3 ? 2 : 1;
    double top = std::round(centre - thickness / 2.0);
    if (i < 3)
      Colour(cr, 200, 162, 92);  // wound bronze
    else
      Colour(cr, 222, 222, 228);
    cairo_rectangle(cr, kPostX[i], top, kWidth - kPostX[i], thickness);
    cairo_fill(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    Colour(cr, 70, 70, 76);  // the post the string winds round
    cairo_arc(cr, kPostX[i] + 2.5, top + thickness / 2.0, 2.6, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  }
}

std::vector<uint8_t> EncodeBmp(cairo_surface_t *surface) {
  const int stride = (kWidth * 3 + 3) / 4 * 4;
  const uint32_t pixels = 14 + 40, size = pixels + stride * kHeight;
  std::vector<uint8_t> out{'B', 'M'};
  Put32(out, size);
  Put32(out, 0);
  Put32(out, pixels);
  for (uint32_t v : {40u, uint32_t{kWidth}, uint32_t{kHeight}}) Put32(out, v);
  Put16(out, 1);
  Put16(out, 24);
  for (int i = 0; i < 6; ++i) Put32(out, i == 2 || i == 3 ? 2835 : 0);  // 72 dpi
  cairo_surface_flush(surface);
  const unsigned char *data = cairo_image_surface_get_data(surface);
  for (int y = kHeight - 1; y >= 0; --y) {
    const auto *row = reinterpret_cast<const uint32_t *>(data + y * cairo_image_surface_get_stride(surface));
    for (int x = 0; x < kWidth; ++x) {
      out.push_back(row[x] & 0xFF);
      out.push_back((row[x] >> 8) & 0xFF);
      out.push_back((row[x] >> 16) & 0xFF);
    }
    out.resize(out.size() + stride - kWidth * 3, 0);
  }
  return out;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.bmp\n", argv[0]);
    return 2;
  }
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t *cr = cairo_create(surface);
  Colour(cr, 245, 245, 245);
  cairo_paint(cr);
  Headstock(cr);
  Tuners(cr);
  Fretboard(cr);
  Strings(cr);
  cairo_destroy(cr);
  const std::vector<uint8_t> bmp = EncodeBmp(surface);
  cairo_surface_destroy(surface);
  cairo_debug_reset_static_data();
  if (!WriteFile(argv[1], bmp)) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
