#pragma once

#include <string>

#include "IApplicationInfo.h"
#include "general/EventLoop.h"
#include "general/RCPtr.h"
#include "general/TimerWM_Manager.h"
#include "hostpaint/DrovaneView_H.h"
#include "synth/Synth_H.h"
#include "win/window.h"

class MenuMainDlgCE;

// The objects that more than one part of the shell must reach, in one
// process-wide record. Start-up creates one and fills it; the adapters reach
// it through `current`. Program thread only.
class Globals : public virtual CRefCounter {
 public:
  // Stores the instance; becomes `current` unless one exists already, which
  // is refused with a check and leaves `current` as it was.
  explicit Globals(HINSTANCE instance);
  // Releases the objects newest field first, each emptied before its object
  // goes, and stops being `current`.
  ~Globals() override;
  Globals(const Globals &) = delete;
  Globals &operator=(const Globals &) = delete;

  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  RCPtr<IApplicationInfo> appInfo;
  RCPtr<TimerWM_Manager> timerManager;
  RCPtr<EventLoop> eventLoop;
  RCPtr<DrovaneView_H> view;
  RCPtr<MenuMainDlgCE> menu;
  RCPtr<Synth_H> synth;
  // What the strum screen's gauge area was last invalidated for.
  struct Shown {
    double pitch = -1, reference = 0;
    bool valid = false;
  } strumShown;
  std::wstring strobeShown;  // what the strobe screen was last invalidated for

  static Globals *current;
};
