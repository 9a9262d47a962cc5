#pragma once

#include <thread>

#include "general/EventHandleHolder.h"
#include "general/RCPtr.h"

// Turns the first Ctrl-C (SIGINT) or SIGTERM into a platform event that the
// event loop waits on. Setting an event takes the platform's lock, which a
// signal handler must never do; so the handler only writes one byte to a
// pipe (async-signal-safe, on whichever thread the signal lands), and a
// watcher thread blocked on the pipe's other end sets the event. The handler
// resets itself, so a second signal ends the program at once should the
// tear-down hang.
//
// One watch at a time, created and destroyed on the program thread after the
// platform was reset; the event belongs to that platform. Destruction puts
// the previous handlers back and ends the watcher thread.
class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch &) = delete;
  InterruptWatch &operator=(const InterruptWatch &) = delete;

  // False when the pipe, the event or the handlers could not be set up.
  bool Ok() const { return ok_; }
  const RCPtr<EventHandleHolder> &Event() const { return event_; }
  // True once a signal has been seen.
  bool Interrupted() const;

 private:
  void Watch();

  RCPtr<EventHandleHolder> event_;
  int readEnd_ = -1;
  std::thread watcher_;
  bool ok_ = false;
};
