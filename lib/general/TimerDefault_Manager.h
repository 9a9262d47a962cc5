#pragma once

#include "CRefCounter.h"
#include "Delegate.h"
#include "RCPtr.h"
#include "TimerNode.h"
#include "UninitResident.h"

// The process-wide place where a new TimerNode gets its calls: a factory,
// bound to the timer service, that fills in a fresh call set. Every
// TimerDefault_Manager shares the first one's factory. Program thread only.
class TimerDefault_Manager : public virtual CRefCounter {
 public:
  using Calls = TimerNode::Inner::Calls;
  using Factory = Delegate<void(RCPtr<Calls> *)>;

  class Internals : public virtual CRefCounter {
   public:
    // Registered for ordered tear-down: from its uninit on the factory
    // yields nothing.
    Internals(UninitCaller *root, const Factory &factory);
    ~Internals() override;

    Factory factory;
    static Internals *shared;

   private:
    void Uninit() { factory.Clear(); }

    UninitResident resident_;
  };

  // A second manager shares the first one's Internals; its factory is unused.
  TimerDefault_Manager(UninitCaller *root, const Factory &factory);

  // Fills `calls` through the shared factory; nothing without one.
  static void CreateTimerCalls(RCPtr<Calls> *calls);

 private:
  RCPtr<Internals> internals_;
};
