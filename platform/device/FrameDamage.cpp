#include "device/FrameDamage.h"

#include <algorithm>
#include <cstring>

#include "user/ScreenGeometry.h"

namespace platform::device {

namespace {

constexpr int kW = kScreenWidth, kH = kScreenHeight;

bool None(const Area &a) { return a.w <= 0 || a.h <= 0; }

// Rows apart: 0 when they touch or overlap.
int Gap(const Area &a, const Area &b) { return std::max({0, a.y - (b.y + b.h), b.y - (a.y + a.h)}); }

}  // namespace

// Most rows of a repainted area are as they were: each is compared whole
// first, and only a row that differs is looked into from both ends.
Area ChangedWithin(const uint32_t *now, const uint32_t *before, const Area &area) {
  const int from = std::max(area.x, 0), to = std::min(area.x + area.w, kW);
  if (from >= to) return {};
  int left = kW, right = -1, top = kH, bottom = -1;
  for (int y = std::max(area.y, 0); y < std::min(area.y + area.h, kH); ++y) {
    const uint32_t *a = now + y * kW, *b = before + y * kW;
    if (std::memcmp(a + from, b + from, sizeof(uint32_t) * static_cast<size_t>(to - from)) == 0) continue;
    int x = from;
    while (a[x] == b[x]) ++x;
    left = std::min(left, x);
    x = to - 1;
    while (a[x] == b[x]) --x;
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = y;
  }
  if (right < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

FrameDamage ChangedAreas(const uint32_t *now, const uint32_t *before, const Area &area) {
  FrameDamage damage;
  Area run{};
  for (int y = std::max(area.y, 0); y < std::min(area.y + area.h, kH); ++y) {
    const Area row = ChangedWithin(now, before, {area.x, y, area.w, 1});
    if (None(row)) continue;
    if (!None(run) && y - (run.y + run.h) > FrameDamage::kNear) {
      damage.Add(run);
      run = {};
    }
    run = Union(run, row);
  }
  if (!None(run)) damage.Add(run);
  return damage;
}

void FrameDamage::Add(const Area &area) {
  if (None(area)) return;
  Area joined = area;
  // Joining two may bring the result near a third.
  for (int i = 0; i < count_;) {
    if (Gap(areas_[i], joined) <= kNear) {
      joined = Union(joined, areas_[i]);
      areas_[i] = areas_[--count_];
      i = 0;
    } else {
      ++i;
    }
  }
  areas_[count_++] = joined;
  if (count_ > kMost) JoinNearest();
}

void FrameDamage::Add(const FrameDamage &damage) {
  for (const Area &a : damage) Add(a);
}

void FrameDamage::JoinNearest() {
  int a = 0, b = 1;
  for (int i = 0; i < count_; ++i)
    for (int j = i + 1; j < count_; ++j)
      if (Gap(areas_[i], areas_[j]) < Gap(areas_[a], areas_[b])) a = i, b = j;
  const Area joined = Union(areas_[a], areas_[b]);
  areas_[b] = areas_[--count_];
  areas_[a] = joined;
}

Area Union(const Area &a, const Area &b) {
  if (None(a)) return b;
  if (None(b)) return a;
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
