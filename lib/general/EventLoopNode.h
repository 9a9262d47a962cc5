#pragma once

#include "CRefCounter.h"
#include "Delegate.h"
#include "UninitResident.h"

// What the event loop calls each time a registered event handle is reported
// signalled. Registered for ordered tear-down: from its uninit on it calls
// nothing (calling it only records the delegate's check).
class EventLoopNode : public virtual CRefCounter {
 public:
  EventLoopNode(UninitCaller *root, const Delegate<void()> &handler);

  const Delegate<void()> &Handler() const { return handler_; }

 private:
  void Uninit() { handler_.Clear(); }

  Delegate<void()> handler_;
  UninitResident resident_;
};
