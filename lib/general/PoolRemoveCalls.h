#pragma once

#include "CRefCounter.h"
#include "Delegate.h"
#include "UninitResident.h"

// The calls with which a user object (T, e.g. TimerNode::Inner) reaches its
// provider in a pool (Pool names the pool), all bound by the provider to one
// entry of its own. Registered for ordered tear-down under the provider's
// root: from its uninit on every call does nothing.
template <class T, class Pool>
class PoolRemoveCalls : public virtual CRefCounter {
 public:
  explicit PoolRemoveCalls(UninitCaller *root)
      : resident_(root, this, MakeDelegate<void()>(this, &PoolRemoveCalls::Uninit)) {}

  Delegate<void()> Kill;
  Delegate<void(unsigned long, bool)> Set;  // (period in milliseconds, repeat)
  Delegate<bool()> IsSet;
  Delegate<void(T *)> DetachInner;
  Delegate<void(T *)> AttachInner;

  // The root the calls are registered with (null once it has been torn down).
  UninitCaller *Root() const { return static_cast<UninitCaller *>(resident_); }

 private:
  void Uninit() {
    Kill.Clear();
    Set.Clear();
    IsSet.Clear();
    DetachInner.Clear();
    AttachInner.Clear();
  }

  UninitResident resident_;
};
