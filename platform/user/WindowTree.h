#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "kernel/HandleCounter.h"
#include "user/WindowRecord.h"

namespace platform {

// The windows by handle, and their stacking: top-level windows bottom to
// top (the shell's topmost ones above the program's), each followed by its
// children. Handles are never reused in the process, so a stale one is
// simply not found.
// Not locked: windows belong to the program thread.
class WindowTree {
 public:
  // Null for a handle that is not a window, or one whose WM_DESTROY was sent.
  WindowRecord *Find(HWND window) const;
  // Also finds windows being destroyed.
  WindowRecord *FindAny(HWND window) const;
  WindowRecord &Add(WindowRecord record);
  void Remove(HWND window);

  // Every window, in painting order (bottom first, parents before children).
  // The visit must not add or remove windows.
  template <class Visit>
  void ForEach(Visit &&visit) const {
    for (HWND top : topLevels_) VisitTree(top, visit);
  }
  const std::vector<HWND> &TopLevels() const { return topLevels_; }

  // Screen rectangle of a window, and whether it and its ancestors are shown.
  RECT ScreenRect(const WindowRecord &w) const;
  bool Shown(const WindowRecord &w) const;
  // The part of the screen where the window's drawing shows: its rectangle
  // clipped by its ancestors and the screen.
  RECT VisibleRect(const WindowRecord &w) const;

 private:
  template <class Visit>
  void VisitTree(HWND window, Visit &visit) const {
    WindowRecord *w = FindAny(window);
    visit(*w);
    for (HWND child : w->children) VisitTree(child, visit);
  }

  std::unordered_map<uintptr_t, std::unique_ptr<WindowRecord>> windows_;
  std::vector<HWND> topLevels_;
  // Spaced like kernel handles, so a handle that is off by a little is invalid.
  inline static HandleCounter handles_{0x10004, 4};
};

RECT Intersect(const RECT &a, const RECT &b);
RECT Union(const RECT &a, const RECT &b);
bool Empty(const RECT &r);
RECT Offset(RECT r, int dx, int dy);
bool Contains(const RECT &r, POINT p);

}  // namespace platform
