#include "GdiTestSupport.h"

#include <algorithm>
#include <cstdlib>

namespace gditest {

Canvas::Canvas(int width, int height, COLORREF paper) : width_(width), height_(height) {
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateCompatibleBitmap(dc_, width, height);
  previous_ = SelectObject(dc_, bitmap_);
  Fill(paper);
}

Canvas::~Canvas() {
  SelectObject(dc_, previous_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

void Canvas::Fill(COLORREF colour) {
  COLORREF old = SetBkColor(dc_, colour);
  RECT all{0, 0, width_, height_};
  ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &all, L"", 0, nullptr);
  SetBkColor(dc_, old);
}

int Canvas::Count(COLORREF colour, const RECT &area) const {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += At(x, y) == colour;
  return n;
}

RECT Canvas::Ink(COLORREF paper) const {
  RECT box{width_, height_, 0, 0};
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (At(x, y) != paper) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

// Releases every GDI object and the font caches at the end of the run, so
// the leak checker of the sanitizer build sees only real leaks.
class GdiEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { GdiShutdown(); }
};
const auto *const kEnvironment = ::testing::AddGlobalTestEnvironment(new GdiEnvironment);

}  // namespace gditest
