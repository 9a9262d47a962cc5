#include "user/WindowManager.h"

#include <cwctype>
#include <map>

#include "gdi/Utf8.h"
#include "phone/Phone.h"
#include "user/StaticControl.h"
#include "user/WindowProcLookup.h"

namespace platform {

namespace {

bool SameName(const std::wstring &a, const wchar_t *b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  return i == a.size() && !b[i];
}

}  // namespace

WindowManager &Windows(std::source_location call) { return Phone::ForProgramThread(call).Windows(); }

// The lookups reach whichever window manager is running when they are asked.
WindowManager::WindowManager() {
  SetWindowProcLookup([](HWND window) -> WNDPROC {
    WindowRecord *w = Phone::Running()->Windows().tree.Find(window);
    return w ? w->cls.proc : nullptr;
  });
  SetPaintLookup([] { return Phone::Running()->Windows().NextToPaint(); });
  AddClass(StaticClass());
}

ATOM WindowManager::AddClass(const WindowClass &cls) {
  if (cls.name.empty() || !cls.proc) return 0;
  for (const WindowClass &c : classes_)
    if (c.instance == cls.instance && SameName(c.name, cls.name.c_str())) return 0;
  classes_.push_back(cls);
  return ++lastAtom_;
}

// A program's class first, then the shell's and system classes, which any
// module may use.
const WindowClass *WindowManager::FindClass(const wchar_t *name, HINSTANCE instance) const {
  const WindowClass *shared = nullptr;
  for (const WindowClass &c : classes_) {
    if (!SameName(c.name, name)) continue;
    if (c.instance == instance) return &c;
    if (c.shared) shared = &c;
  }
  return shared;
}

HWND WindowManager::ActiveWindow() const {
  const auto &tops = tree.TopLevels();
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    WindowRecord *w = tree.Find(*it);
    if (w && !w->cls.shell && (w->style & WS_VISIBLE)) return w->handle;
  }
  return nullptr;
}

bool WindowManager::LastProgramWindow(HWND window) const {
  auto programShown = [this](const WindowRecord *w) { return w && !w->cls.shell && (w->style & WS_VISIBLE); };
  const WindowRecord *target = tree.Find(window);
  if (!programShown(target) || target->Child()) return false;
  for (HWND top : tree.TopLevels()) {
    const WindowRecord *w = tree.Find(top);
    if (top != window && programShown(w) && w->owner != window) return false;
  }
  return true;
}

HWND WindowManager::WindowFromPoint(POINT point) const {
  HWND found = nullptr;
  tree.ForEach([&](WindowRecord &w) {
    if (!w.destroying && tree.Shown(w) && Contains(tree.VisibleRect(w), point)) found = w.handle;
  });
  return found;
}

void WindowManager::TopLevelChanged() {
  WindowRecord *caption = tree.Find(captionWindow);
  if (caption) Invalidate(*caption, caption->ClientRect(), true);
}

void WindowManager::Invalidate(WindowRecord &target, const RECT &area, bool erase) {
  const RECT targetScreen = tree.ScreenRect(target);
  const RECT screenArea = Intersect(Offset(area, targetScreen.left, targetScreen.top), tree.VisibleRect(target));
  if (Empty(screenArea)) return;
  bool reached = false;
  tree.ForEach([&](WindowRecord &w) {
    reached = reached || &w == &target;
    if (!reached || w.destroying || !tree.Shown(w)) return;
    const RECT s = tree.ScreenRect(w);
    const RECT part = Intersect(Offset(screenArea, -s.left, -s.top), w.ClientRect());
    if (Empty(part)) return;
    w.update = Union(w.update, part);
    w.erase = w.erase || erase;
  });
  NotePaintPending();
}

void WindowManager::Expose(const RECT &screenArea) {
  screen.FillDesktop(screenArea);
  tree.ForEach([&](WindowRecord &w) {
    if (w.destroying || !tree.Shown(w) || w.Child()) return;
    const RECT s = tree.ScreenRect(w);
    Invalidate(w, Offset(screenArea, -s.left, -s.top), true);
  });
}

HWND WindowManager::NextToPaint() const {
  HWND found = nullptr;
  tree.ForEach([&](WindowRecord &w) {
    if (!found && !Empty(w.update) && !w.destroying && tree.Shown(w)) found = w.handle;
  });
  return found;
}

HDC WindowManager::OpenWindowDC(const WindowRecord &w, const RECT &clientClip) {
  const RECT s = tree.ScreenRect(w);
  const RECT clip = Intersect(Offset(clientClip, s.left, s.top), tree.VisibleRect(w));
  return screen.OpenDC({s.left, s.top}, clip);
}

std::vector<WindowManager::Text> WindowManager::WindowTexts() const {
  std::vector<Text> texts;
  for (HWND top : tree.TopLevels()) {
    WindowRecord *w = tree.Find(top);
    if (!w || w->cls.shell || !(w->style & WS_VISIBLE)) continue;
    std::wstring drawn;
    for (const std::wstring &t : w->paintTexts) {
      if (!drawn.empty()) drawn += L" | ";
      drawn += t;
    }
    texts.push_back({Utf8(w->text), drawn});
    std::map<std::string, int> seen;
    for (HWND c : w->children) {
      WindowRecord *child = tree.Find(c);
      if (!child || !tree.Shown(*child)) continue;
      std::string source = Utf8(child->cls.name);
      if (int n = ++seen[source]; n > 1) {
        source += '#';
        source += std::to_string(n);
      }
      texts.push_back({source, child->text});
    }
  }
  return texts;
}

}  // namespace platform
