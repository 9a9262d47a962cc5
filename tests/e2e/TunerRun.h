#pragma once

// The tuner program run as a user or a script runs it, and what it left
// behind: its text trace, WAV sink and screenshots.
#include <cairo.h>
#include <sndfile.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/ToolRun.h"
#include "user/ScreenGeometry.h"

namespace tuner {

// Screen geometry of the phone: the client area starts below the caption.
constexpr int kCaption = platform::kCaptionHeight;

struct TraceLine {
  double time;
  std::string source, text;
};

inline std::vector<TraceLine> ParseTrace(const std::string &out) {
  std::vector<TraceLine> lines;
  for (const std::string &line : Lines(out)) {
    const size_t a = line.find('\t'), b = line.find('\t', a + 1);
    if (a == std::string::npos || b == std::string::npos) continue;
    lines.push_back({std::atof(line.c_str()), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
  }
  return lines;
}

// The first line from `source` at or after `from` seconds whose text holds
// `part`; null if there is none.
inline const TraceLine *Find(const std::vector<TraceLine> &trace, const std::string &source, const std::string &part,
                             double from = 0) {
  for (const TraceLine &l : trace)
    if (l.time >= from && l.source == source && l.text.find(part) != std::string::npos) return &l;
  return nullptr;
}

// What `source` said last at or before `at` seconds.
inline std::string TextAt(const std::vector<TraceLine> &trace, const std::string &source, double at) {
  std::string text;
  for (const TraceLine &l : trace)
    if (l.time <= at && l.source == source) text = l.text;
  return text;
}

// Writes `lines` as the running test's script file.
inline std::string Script(const std::string &lines) {
  const std::string path = OutputPath("script.txt");
  FILE *f = std::fopen(path.c_str(), "w");
  std::fputs(lines.c_str(), f);
  std::fclose(f);
  return path;
}

// A headless run on the virtual clock with the text trace on stdout.
inline Outcome RunTuner(const std::string &args) {
  return RunTool(DROVANE_TUNER, "--screen headless --clock virtual --trace-text " + args);
}

// A screenshot's pixels as 0xRRGGBB.
class Png {
 public:
  explicit Png(const std::string &path) : surface_(cairo_image_surface_create_from_png(path.c_str())) {}
  ~Png() { cairo_surface_destroy(surface_); }
  Png(const Png &) = delete;
  Png &operator=(const Png &) = delete;

  bool Ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
  unsigned Pixel(int x, int y) const {
    const unsigned char *row = cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    unsigned argb;
    std::memcpy(&argb, row + 4 * x, 4);
    return argb & 0xFFFFFF;
  }
  // Whether any pixel of column x between y0 and y1 has `colour`.
  bool ColumnHas(int x, int y0, int y1, unsigned colour) const {
    for (int y = y0; y <= y1; ++y)
      if (Pixel(x, y) == colour) return true;
    return false;
  }

 private:
  cairo_surface_t *surface_;
};

}  // namespace tuner
