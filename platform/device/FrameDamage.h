#pragma once

// The part of a frame that must be shown again, and where it lands in the
// window: the presenter copies and enlarges only that. Pure geometry over
// 240 x 320 frames of 0x00RRGGBB pixels.
#include <cstdint>

#include "device/WindowFit.h"

namespace platform::device {

// The bounds of the pixels that differ between `now` and `before` within
// `area` (phone pixels); empty (w 0) when none does.
Area ChangedWithin(const uint32_t *now, const uint32_t *before, const Area &area);

// The part of a frame to show again as a few areas rather than one: a
// reading changes a line of text and, far below, the needle, and the bounds
// of both would take in all between. An area added within kNear rows of
// one held joins it; with kMost held, the two nearest are joined.
class FrameDamage {
 public:
  static constexpr int kMost = 4;
  static constexpr int kNear = 8;

  void Add(const Area &area);
  void Add(const FrameDamage &damage);
  bool Empty() const { return count_ == 0; }
  void Clear() { count_ = 0; }
  const Area *begin() const { return areas_; }
  const Area *end() const { return areas_ + count_; }

 private:
  void JoinNearest();

  Area areas_[kMost + 1];
  int count_ = 0;
};

// The pixels that differ between `now` and `before` within `area`, as rows
// of change apart by more than FrameDamage::kNear unchanged rows.
FrameDamage ChangedAreas(const uint32_t *now, const uint32_t *before, const Area &area);
// Both areas' bounds; an empty one adds nothing.
Area Union(const Area &a, const Area &b);
// Copies `area` of one frame into another.
void CopyArea(const uint32_t *from, uint32_t *to, const Area &area);
// Phone pixels `area` in a window whose picture is `picture`: every window
// pixel any of them reaches.
Area InWindow(const Area &picture, const Area &area);

}  // namespace platform::device
