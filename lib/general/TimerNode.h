#pragma once

#include "CRefCounter.h"
#include "Delegate.h"
#include "PoolRemoveCalls.h"
#include "PoolResident.h"
#include "RCPtr.h"
#include "UninitResident.h"
#include "UninitResidentMulti.h"

// A timer as its user sees it: a handler called at each expiry, started once
// or repeating, and stopped. The provider (a timer service) is reached
// through calls obtained from TimerDefault_Manager at construction. Either
// side may be torn down first: when the node's group goes, its platform timer
// is killed and its handler unbound; when the provider goes, Start, StopTimer
// and IsSet do nothing. Program thread only.
class TimerNode : public virtual CRefCounter {
 public:
  class Inner : public virtual CRefCounter {
   public:
    // Names the provider's pool of timer handlers in the calls' type.
    struct HandlersPool {};
    using Calls = PoolRemoveCalls<Inner, HandlersPool>;

    Inner(UninitCaller *group, const RCPtr<Calls> &calls);

    Delegate<void()> handler;
    Delegate<void()> Kill;
    Delegate<void(unsigned long, bool)> Set;
    Delegate<bool()> IsSet;

   private:
    void Uninit() { handler.Clear(); }
    void UnbindCalls();

    UninitResident resident_;
    PoolResident pool_;
  };

  // Without calls from TimerDefault_Manager the node has no Inner and every
  // operation only records the empty-pointer check.
  explicit TimerNode(UninitCaller *root);

  void SetHandler(const Delegate<void()> &handler);
  // Period in milliseconds; a running timer is replaced.
  void Start(unsigned long period, bool repeat);
  void StopTimer();
  bool IsSet();

 private:
  RCPtr<Inner> inner_;
  UninitResidentMulti group_;
};
