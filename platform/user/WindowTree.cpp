#include "user/WindowTree.h"

#include <algorithm>

#include "user/ScreenGeometry.h"

namespace platform {

WindowRecord *WindowTree::Find(HWND window) const {
  WindowRecord *w = FindAny(window);
  return w && !w->destroying ? w : nullptr;
}

WindowRecord *WindowTree::FindAny(HWND window) const {
  auto it = windows_.find(reinterpret_cast<uintptr_t>(window));
  return it == windows_.end() ? nullptr : it->second.get();
}

WindowRecord &WindowTree::Add(WindowRecord record) {
  const uintptr_t handle = handles_.Next();
  record.handle = reinterpret_cast<HWND>(handle);
  auto owned = std::make_unique<WindowRecord>(std::move(record));
  WindowRecord &w = *owned;
  windows_.emplace(handle, std::move(owned));
  if (w.Child()) {
    Find(w.parent)->children.push_back(w.handle);
  } else if (w.cls.shell) {
    topLevels_.push_back(w.handle);
  } else {
    auto firstShell = std::find_if(topLevels_.begin(), topLevels_.end(),
                                   [this](HWND h) { return FindAny(h)->cls.shell; });
    topLevels_.insert(firstShell, w.handle);
  }
  return w;
}

void WindowTree::Remove(HWND window) {
  WindowRecord *w = FindAny(window);
  if (!w) return;
  std::vector<HWND> &siblings = w->Child() ? FindAny(w->parent)->children : topLevels_;
  std::erase(siblings, window);
  windows_.erase(reinterpret_cast<uintptr_t>(window));
}

RECT WindowTree::ScreenRect(const WindowRecord &w) const {
  if (!w.Child()) return w.rect;
  const RECT parent = ScreenRect(*FindAny(w.parent));
  return Offset(w.rect, parent.left, parent.top);
}

bool WindowTree::Shown(const WindowRecord &w) const {
  if (!(w.style & WS_VISIBLE)) return false;
  return !w.Child() || Shown(*FindAny(w.parent));
}

RECT WindowTree::VisibleRect(const WindowRecord &w) const {
  const RECT own = ScreenRect(w);
  const RECT outer = w.Child() ? VisibleRect(*FindAny(w.parent))
                               : RECT{0, 0, kScreenWidth, kScreenHeight};
  return Intersect(own, outer);
}

RECT Intersect(const RECT &a, const RECT &b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return Empty(r) ? RECT{0, 0, 0, 0} : r;
}

RECT Union(const RECT &a, const RECT &b) {
  if (Empty(a)) return b;
  if (Empty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

bool Empty(const RECT &r) { return r.left >= r.right || r.top >= r.bottom; }

RECT Offset(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

bool Contains(const RECT &r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

}  // namespace platform
