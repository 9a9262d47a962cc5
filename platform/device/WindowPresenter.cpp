#include "device/WindowPresenter.h"

#include <errno.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "gdi/GdiHost.h"
#include "gdi/Utf8.h"
#include "kernel/Platform.h"
#include "phone/Handset.h"
#include "win/shell.h"

namespace platform::device {

namespace {

constexpr int kW = kScreenWidth, kH = kScreenHeight;
enum WakeCode { kNews = 1, kStop = 2 };

UINT PhoneKey(SDL_Keycode key) {
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<UINT>('0' + (key - SDLK_0));
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return static_cast<UINT>('1' + (key - SDLK_KP_1));
  switch (key) {
    case SDLK_KP_0: return '0';
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_F1: return VK_TSOFT1;
    case SDLK_F2: return VK_TSOFT2;
    case SDLK_ESCAPE: case SDLK_BACKSPACE: return VK_TBACK;
    default: return 0;
  }
}

}  // namespace

// SDL would otherwise settle for a driver that shows nothing on a desktop.
bool WindowPresenter::DisplayNamed() {
  for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"})
    if (const char *value = std::getenv(name); value && *value) return true;
  return false;
}

std::unique_ptr<WindowPresenter> WindowPresenter::Start(int scale, std::string *error) {
  uintptr_t injected;
  if (platform::InjectedFailure("StartPresenter", &injected)) {
    *error = "the window could not be opened (injected failure)";
    return nullptr;
  }
  if (!DisplayNamed()) {
    *error = "no display could be opened (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    return nullptr;
  }
  std::unique_ptr<const SdlVideo> sdl = SdlVideo::Load(error);
  if (!sdl) return nullptr;
  // The class the desktop entry names (StartupWMClass), unless the user chose
  // one. SDL 2.26 reads it from the environment only; no other thread runs yet.
  setenv("SDL_VIDEO_X11_WMCLASS", DROVANE_WINDOW_CLASS, 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", DROVANE_WINDOW_CLASS, 0);
  std::unique_ptr<WindowPresenter> presenter(new WindowPresenter(std::move(sdl)));
  WindowPresenter &p = *presenter;
  p.thread_ = std::thread([&p, scale] { p.Run(scale); });
  std::unique_lock lock(p.startMutex_);
  p.started_.wait(lock, [&p] { return p.ready_; });
  if (!p.startError_.empty()) {
    *error = p.startError_;
    lock.unlock();
    p.thread_.join();
    return nullptr;
  }
  return presenter;
}

WindowPresenter::~WindowPresenter() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(startMutex_);
    stop_ = true;
  }
  started_.notify_all();
  if (!gone_.load(std::memory_order_acquire)) Wake(kStop);
  thread_.join();
  if (std::getenv("DROVANE_PRESENTER_STATS"))
    std::fprintf(stderr, "%s: presenter: %llu frames shown, %llu unchanged\n", program_invocation_short_name,
                 static_cast<unsigned long long>(shown_), static_cast<unsigned long long>(unchanged_));
}

bool WindowPresenter::Open(int scale) {
  sdl_->SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // INT and TERM are the phone's (platform::StopSignals): SDL's own handlers
  // would turn them into a quit event that waits for the next X event.
  sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The window's own pixel buffer, not one behind OpenGL: a scaled copy of a
  // small screen needs no GPU, and a software GL driver alone would cost
  // tens of megabytes and a share of a core.
  sdl_->SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  X11Watch::InstallErrorHandler();
  if (sdl_->InitSubSystem(SDL_INIT_VIDEO) != 0) {
    startError_ = std::string("no display could be opened (SDL: ") + sdl_->GetError() + ")";
    return false;
  }
  SDL_Rect usable{0, 0, 0, 0};
  if (sdl_->GetDisplayUsableBounds(0, &usable) != 0) usable = {0, 0, 0, 0};
  const WindowFit fit = FitWindow(scale, {usable.x, usable.y, usable.w, usable.h});
  note_ = fit.note;
  const Area &w = fit.window;
  const bool placed = usable.w > 0;
  window_ = sdl_->CreateWindow("Drovane", placed ? w.x : SDL_WINDOWPOS_CENTERED, placed ? w.y : SDL_WINDOWPOS_CENTERED,
                               w.w, w.h, 0);
  picture_ = Letterbox(w.w, w.h);
  wakeEvent_ = sdl_->RegisterEvents(1);
  if (!window_ || wakeEvent_ == static_cast<uint32_t>(-1)) {
    startError_ = std::string("the window could not be opened (SDL: ") + sdl_->GetError() + ")";
    if (window_) sdl_->DestroyWindow(window_);
    sdl_->QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  x11_ = X11Watch::Start(window_);
  frame_.assign(static_cast<size_t>(kW) * kH, 0);
  pending_.assign(frame_.size(), 0);
  return true;
}

void WindowPresenter::Run(int scale) {
  const bool opened = Open(scale);
  {
    std::lock_guard lock(startMutex_);
    ready_ = true;
  }
  started_.notify_all();
  if (!opened) return;
  SDL_Event event;
  while (!gone_.load(std::memory_order_relaxed) && sdl_->WaitEvent(&event)) {
    if (event.type == wakeEvent_ && event.user.code == kStop) break;
    Handle(event);
  }
  if (gone_.load(std::memory_order_relaxed)) {
    std::unique_lock lock(startMutex_);
    started_.wait(lock, [this] { return stop_; });
  }
  sdl_->DestroyWindow(window_);
  // All of SDL, with what it set up for the desktop (its D-Bus connection):
  // the window goes when the program has ended and its sound devices are
  // closed. A close left to end on its own (its sound server stopped
  // answering) keeps SDL's audio up, and quitting it would wait on that
  // close: then only the video goes.
  if (sdl_->WasInit(SDL_INIT_AUDIO))
    sdl_->QuitSubSystem(SDL_INIT_VIDEO);
  else
    sdl_->Quit();
}

template <class F>
void WindowPresenter::Soon(F action) {
  if (connected_.load(std::memory_order_acquire)) platform::ScheduleAt(platform::Now(), action);
}

void WindowPresenter::Handle(const SDL_Event &event) {
  switch (event.type) {
    case SDL_QUIT:
      Soon([] { handset::RequestClose(); });
      break;
    case SDL_SYSWMEVENT:
      // Gone as if closed; the program's end closes what is left of it.
      if (x11_ && x11_->Destroyed(event)) {
        gone_.store(true, std::memory_order_release);
        Soon([] { handset::RequestClose(); });
      }
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        Show(true);
      break;
    case SDL_KEYDOWN: case SDL_KEYUP:
      if (UINT key = PhoneKey(event.key.keysym.sym)) {
        if (event.type == SDL_KEYDOWN)
          Soon([key] { handset::KeyDown(key); });
        else
          Soon([key] { handset::KeyUp(key); });
      }
      break;
    case SDL_MOUSEBUTTONDOWN: case SDL_MOUSEBUTTONUP: case SDL_MOUSEMOTION:
      Stylus(event);
      break;
    default:
      if (event.type == wakeEvent_) Show(false);
      break;
  }
}

// The mouse's left button as the stylus, on the picture: a press on the
// black border is none, a drag beyond the picture stays on its edge.
void WindowPresenter::Stylus(const SDL_Event &event) {
  int x, y;
  if (event.type == SDL_MOUSEMOTION) {
    if (held_) {
      PhonePoint(picture_, event.motion.x, event.motion.y, &x, &y);
      Soon([x, y] { handset::StylusMove(x, y); });
    }
    return;
  }
  if (event.button.button != SDL_BUTTON_LEFT) return;
  const bool inside = PhonePoint(picture_, event.button.x, event.button.y, &x, &y);
  if (event.type == SDL_MOUSEBUTTONDOWN && inside && !held_) {
    held_ = true;
    Soon([x, y] { handset::StylusDown(x, y); });
  } else if (event.type == SDL_MOUSEBUTTONUP && held_) {
    held_ = false;
    Soon([x, y] { handset::StylusUp(x, y); });
  }
}

// The newest frame and title from the program thread. A new frame's changed
// parts are enlarged into the window (the whole frame at a size that is no
// whole factor, where a part's pixels could fall a pixel off the whole's);
// the whole when the window needs it again.
void WindowPresenter::Show(bool again) {
  std::string title;
  FrameDamage damage;
  {
    std::lock_guard lock(frameMutex_);
    damage = pendingDamage_;
    pendingDamage_.Clear();
    for (const Area &a : damage) CopyArea(pending_.data(), frame_.data(), a);
    title.swap(pendingTitle_);
  }
  if (!title.empty()) sdl_->SetWindowTitle(window_, title.c_str());
  if (damage.Empty() && !again) return;
  SDL_Surface *target = sdl_->GetWindowSurface(window_);
  SDL_Surface *source = sdl_->CreateRGBSurfaceWithFormatFrom(frame_.data(), kW, kH, 32, kW * 4, SDL_PIXELFORMAT_RGB888);
  if (target && source) {
    picture_ = Letterbox(target->w, target->h);
    const bool whole = again || picture_.w % kW != 0 || picture_.w / kW != picture_.h / kH;
    if (whole) {
      damage.Clear();
      damage.Add(Area{0, 0, kW, kH});
    }
    if (whole && (picture_.w != target->w || picture_.h != target->h)) sdl_->FillRect(target, nullptr, 0);
    SDL_Rect shown[FrameDamage::kMost];
    int count = 0;
    for (const Area &a : damage) {
      const Area in = InWindow(picture_, a);
      SDL_Rect from{a.x, a.y, a.w, a.h}, to{in.x, in.y, in.w, in.h};
      shown[count++] = to;  // the blit writes what it clipped into `to`
      sdl_->BlitScaled(source, &from, target, &to);
    }
    sdl_->UpdateWindowSurfaceRects(window_, shown, count);
    ++shown_;
  }
  if (source) sdl_->FreeSurface(source);
}

void WindowPresenter::Wake(int code) {
  SDL_Event event{};
  event.type = wakeEvent_;
  event.user.code = code;
  sdl_->PushEvent(&event);
}

// The screen's rows where it was drawn on; false when no pixel changed.
// Only those rows are read, and only what changed is handed on.
bool WindowPresenter::Take() {
  lastVersion_ = handset::ScreenVersion();
  const RECT d = handset::TakeScreenDamage();
  const bool first = sent_.empty();
  const Area drawn = first ? Area{0, 0, kW, kH} : Area{d.left, d.top, d.right - d.left, d.bottom - d.top};
  scratch_.resize(static_cast<size_t>(kW) * kH);
  if (drawn.w <= 0 || drawn.h <= 0 ||
      !GdiReadPixels(handset::ScreenBitmap(), scratch_.data(), kW, kH, drawn.y, drawn.y + drawn.h)) {
    ++unchanged_;
    return false;
  }
  FrameDamage changed;
  if (first) {
    sent_.resize(scratch_.size());
    changed.Add(drawn);
  } else {
    changed = ChangedAreas(scratch_.data(), sent_.data(), drawn);
  }
  if (changed.Empty()) {
    ++unchanged_;
    return false;
  }
  for (const Area &a : changed) CopyArea(scratch_.data(), sent_.data(), a);
  std::lock_guard lock(frameMutex_);
  for (const Area &a : changed) CopyArea(sent_.data(), pending_.data(), a);
  pendingDamage_.Add(changed);
  return true;
}

void WindowPresenter::Present() {
  if (gone_.load(std::memory_order_acquire)) return;
  const std::wstring title = handset::CaptionTitle();
  const uint64_t version = handset::ScreenVersion();
  bool wake = false;
  if (title != sentTitle_) {
    sentTitle_ = title;
    std::lock_guard lock(frameMutex_);
    pendingTitle_ = title.empty() ? "Drovane" : Utf8(title);
    wake = true;
  }
  if (version != lastVersion_ && Take()) wake = true;
  if (wake) Wake(kNews);
}

}  // namespace platform::device
