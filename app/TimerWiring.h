#pragma once

#include "Globals.h"
#include "general/TimerDefault_Manager.h"
#include "general/TimerNode.h"
#include "general/UninitCaller.h"
#include "hostpaint/DrovaneView_H.h"

// How start-up builds the timers and joins them to the view. Program thread.

// The platform timer service: a TimerWM_Manager kept in `globals`, whose
// expiries StaticTimerProc passes on, and the TimerDefault_Manager from which
// every TimerNode made afterwards gets its calls; both registered with `root`.
RCPtr<TimerDefault_Manager> CreateTimerService(UninitCaller *root, Globals &globals);

// The view's five timers, T1 to T5.
struct ViewTimerNodes {
  TimerNode *inTune;
  TimerNode *zoom;
  TimerNode *highlightOff;
  TimerNode *highlightOn;
  TimerNode *frames;
};

// Each node's expiry calls the view's handler for it, and the view's stop and
// start controls in `bindings` drive the node (without counting it: see
// StopTimerNode).
void WireViewTimers(const ViewTimerNodes &nodes, DrovaneView_H *view, ViewBindings *bindings);
