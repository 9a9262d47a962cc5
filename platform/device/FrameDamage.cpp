#include "device/FrameDamage.h"

#include <algorithm>

#include "user/ScreenGeometry.h"

namespace platform::device {

namespace {

constexpr int kW = kScreenWidth, kH = kScreenHeight;

bool Empty(const Area &a) { return a.w <= 0 || a.h <= 0; }

}  // namespace

Area ChangedWithin(const uint32_t *now, const uint32_t *before, const Area &area) {
  int left = kW, right = -1, top = kH, bottom = -1;
  for (int y = std::max(area.y, 0); y < std::min(area.y + area.h, kH); ++y) {
    const uint32_t *a = now + y * kW, *b = before + y * kW;
    for (int x = std::max(area.x, 0); x < std::min(area.x + area.w, kW); ++x) {
      if (a[x] == b[x]) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = y;
    }
  }
  if (right < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

Area Union(const Area &a, const Area &b) {
  if (Empty(a)) return b;
  if (Empty(b)) return a;
  const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
  return {left, top, std::max(a.x + a.w, b.x + b.w) - left, std::max(a.y + a.h, b.y + b.h) - top};
}

void CopyArea(const uint32_t *from, uint32_t *to, const Area &area) {
  for (int y = area.y; y < area.y + area.h; ++y)
    std::copy_n(from + y * kW + area.x, area.w, to + y * kW + area.x);
}

Area InWindow(const Area &picture, const Area &area) {
  auto Down = [](int v, int scale, int of) { return static_cast<int>(static_cast<long>(v) * scale / of); };
  auto Up = [](int v, int scale, int of) { return static_cast<int>((static_cast<long>(v) * scale + of - 1) / of); };
  const int left = Down(area.x, picture.w, kW), top = Down(area.y, picture.h, kH);
  const int right = Up(area.x + area.w, picture.w, kW), bottom = Up(area.y + area.h, picture.h, kH);
  return {picture.x + left, picture.y + top, right - left, bottom - top};
}

}  // namespace platform::device
