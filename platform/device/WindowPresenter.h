#pragma once

// The phone's screen in an SDL2 window on the desktop, enlarged a whole
// number of times with crisp pixels where the desktop has room (see
// WindowFit: never off screen; at any other size the picture keeps its
// aspect, bordered with black). The window lives on a thread of its
// own that blocks in SDL_WaitEvent (no polling). Once connected to the
// running phone, its keys, mouse and close button reach the program thread
// as occurrences scheduled for now, which wake the program's wait at once.
// Frames come from the program thread's idle moments: Present copies the
// screen when it changed and wakes the window's thread to show it, which
// enlarges and shows only the part that changed.
//
// The window opens before the phone is made (whether it opens decides the
// phone's clock), and closes before the phone ends.
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/FrameDamage.h"
#include "device/SdlVideo.h"
#include "device/WindowFit.h"
#include "device/X11Watch.h"

namespace platform::device {

class WindowPresenter {
 public:
  // Opens the window (scale 0: the largest whole factor that fits the
  // desktop's usable area). Null with the reason in `error` when there is
  // no display or no SDL2; fault injection: "StartPresenter".
  static std::unique_ptr<WindowPresenter> Start(int scale, std::string *error);
  // What the user should know of the window's size (a scale that did not
  // fit), or "".
  const std::string &Note() const { return note_; }
  // Whether the environment names a display (or an SDL video driver).
  static bool DisplayNamed();
  // From now on the window's input goes to the running phone (dropped
  // before). Program thread; the phone must outlive the presenter.
  void Connect() { connected_.store(true, std::memory_order_release); }
  // Closes the window and ends its thread, and shuts SDL down (after the
  // program, with its sound devices closed). With DROVANE_PRESENTER_STATS
  // set in the environment it says on stderr how many frames it showed.
  ~WindowPresenter();
  WindowPresenter(const WindowPresenter &) = delete;
  WindowPresenter &operator=(const WindowPresenter &) = delete;

  // Program thread, when idle: shows the screen if its pixels changed, and
  // the active window's title as the window's.
  void Present();

  // Frames shown in the window, and frames whose copy was dropped because
  // their pixels were the same as the last one's.
  uint64_t FramesShown() const { return shown_; }
  uint64_t FramesUnchanged() const { return unchanged_; }

 private:
  explicit WindowPresenter(std::unique_ptr<const SdlVideo> sdl) : sdl_(std::move(sdl)) {}
  void Run(int scale);
  // Runs `action` on the program thread at the next look at its wait.
  template <class F>
  void Soon(F action);
  bool Open(int scale);
  void Handle(const SDL_Event &event);
  void Stylus(const SDL_Event &event);
  void Show(bool again);
  bool Take();
  void Wake(int code);

  const std::unique_ptr<const SdlVideo> sdl_;
  std::atomic<bool> connected_{false};
  std::thread thread_;
  // The window's thread only, once started.
  SDL_Window *window_ = nullptr;
  std::unique_ptr<X11Watch> x11_;
  uint32_t wakeEvent_ = 0;
  Area picture_;       // where the screen is drawn in the window
  bool held_ = false;  // the mouse button is down: moves are stylus moves

  // Set up by the window's thread before Start returns; stop_ set by the
  // destructor, for a window's thread that can no longer be woken through
  // SDL (its window gone, SDL's wake-up is sent to it).
  std::mutex startMutex_;
  std::condition_variable started_;
  bool ready_ = false;
  bool stop_ = false;
  // Destroyed by another client: nothing more is drawn or sent.
  std::atomic<bool> gone_{false};
  std::string startError_;
  std::string note_;

  // Program thread only: the screen's rows as last read, and the frame as
  // last sent.
  uint64_t lastVersion_ = ~0ull;
  std::vector<uint32_t> scratch_;
  std::vector<uint32_t> sent_;
  std::wstring sentTitle_ = L"\x1";

  // Handed from the program thread to the window's thread: the newest frame
  // whole, and the part of it the window has not had yet.
  std::mutex frameMutex_;
  std::vector<uint32_t> pending_;
  FrameDamage pendingDamage_;
  std::string pendingTitle_;
  std::vector<uint32_t> frame_;  // window's thread only: the frame it shows

  std::atomic<uint64_t> shown_{0}, unchanged_{0};
};

}  // namespace platform::device
