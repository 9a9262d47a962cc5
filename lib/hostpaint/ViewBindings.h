#pragma once

#include "general/Delegate.h"
#include "synth/VH_PlaySingle.h"
#include "win/types.h"

// One timer the view drives: stop is called with true, start with
// (period in milliseconds, repeating, 0). The timer's expiry calls the view's
// handler for it (start-up binds that side).
struct ViewTimer {
  Delegate<void(bool)> stop;
  Delegate<void(unsigned int, bool, unsigned int)> start;
};

// Everything the tuner view calls outside itself. Start-up binds the record
// once and hands it over with DrovaneView_H::SetBindings; the view only calls
// it, on the UI thread. An unbound entry records its contract check when
// called and does nothing (one with a result returns 0).
struct ViewBindings {
  Delegate<void()> toolHost;  // handed on to the pointer tools; none calls it
  Delegate<void()> repaint;   // invalidate the whole window
  Delegate<void(const RECT &)> repaintRect;  // invalidate a part of it
  Delegate<void(int)> noteSelected;
  Delegate<void()> gaugeTap;            // pointer released over the left two thirds
  Delegate<void(double)> setReference;  // hertz of A
  Delegate<double()> getReference;
  Delegate<void(RECT *)> getClientRect;
  ViewTimer inTuneTimer;
  ViewTimer zoomTimer;
  ViewTimer highlightOffTimer;
  ViewTimer highlightOnTimer;
  ViewTimer frameTimer;  // the strobe's frames while a note is heard
  PlaySingleBindings player;  // note-on/off for the view's and the tools' gates
};
