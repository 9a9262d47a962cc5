#pragma once

// A memory DC over a fresh bitmap filled with one colour, and helpers to look
// at its pixels.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "TestOutput.h"
#include "gdi/GdiHost.h"
#include "phone/Phone.h"
#include "win/gdi.h"

inline bool operator==(const RECT &a, const RECT &b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT &r, std::ostream *os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace gditest {

constexpr COLORREF kPaper = RGB(200, 210, 220);

// A phone of its own for each drawing test, to draw with.
class PhoneTest : public ::testing::Test {
 protected:
  std::optional<platform::Phone> phone{std::in_place, platform::ClockKind::Virtual};
};

class Canvas {
 public:
  Canvas(int width, int height, COLORREF paper = kPaper);
  ~Canvas();
  Canvas(const Canvas &) = delete;
  Canvas &operator=(const Canvas &) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  COLORREF At(int x, int y) const { return GdiGetPixel(dc_, x, y); }
  void Fill(COLORREF colour);
  // Pixels of `colour` inside [left, right) x [top, bottom).
  int Count(COLORREF colour, const RECT &area) const;
  // Bounding box of pixels that differ from `paper` (empty when none).
  RECT Ink(COLORREF paper = kPaper) const;
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

}  // namespace gditest
