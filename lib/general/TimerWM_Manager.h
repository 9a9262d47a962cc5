#pragma once

#include <map>

#include "CRefCounter.h"
#include "RCPtr.h"
#include "TimerNode.h"
#include "UninitResident.h"
#include "win/user.h"

// The timer service: owns the platform timers (SetTimer/KillTimer without a
// window) and turns each expiry into a call of the right node's handler.
// Expiries arrive as WM_TIMER messages dispatched by the event loop to
// `proc`, which passes the id to OnTimer. Program thread only; a handler may
// start, stop or release timers, its own included.
class TimerWM_Manager : public virtual CRefCounter {
 public:
  // One per call set.
  class TimerInfo : public virtual CRefCounter {
   public:
    bool repeat = false;       // false: killed at its first expiry
    unsigned int id = 0;       // platform timer id; 0 while not set
    RCPtr<TimerNode::Inner> inner;
  };
  using Calls = TimerNode::Inner::Calls;

  // `proc` is given to every SetTimer and must lead to OnTimer.
  TimerWM_Manager(UninitCaller *root, TIMERPROC proc);

  // The factory target: a new call set bound to this manager and a fresh
  // TimerInfo, registered with this manager's tear-down root.
  void CreateTimerCallsFn(RCPtr<Calls> *calls);
  void OnTimer(unsigned int id);

 private:
  void Kill(const RCPtr<TimerInfo> &t);
  void Set(unsigned long period, bool repeat, const RCPtr<TimerInfo> &t);
  bool IsSet(const RCPtr<TimerInfo> &t);
  void DetachInner(TimerNode::Inner *inner, const RCPtr<TimerInfo> &t);
  void AttachInner(TimerNode::Inner *inner, const RCPtr<TimerInfo> &t);
  void Uninit();

  TIMERPROC proc_;
  std::map<unsigned int, RCPtr<TimerInfo>> timers_;  // exactly the timers that are set
  UninitResident resident_;
};
