#pragma once

#include "CRefCounter.h"
#include "Delegate.h"
#include "RCPtr.h"
#include "UninitResident.h"
#include "UninitResidentMulti.h"

// Links a user object to its provider so that either side may be torn down
// first. Its own tear-down group hangs under the user's group and under the
// provider's root; whichever goes first tears it down, which releases the
// holder (telling the provider to let go of the user object) and unbinds the
// user object's copies of the provider's calls.
class PoolResident {
 public:
  class HolderBase : public virtual CRefCounter {};

  // Keeps the user object and tells the provider to detach it when the
  // holder goes.
  template <class T>
  class Holder : public HolderBase {
   public:
    Holder(const Delegate<void(T *)> &detach, T *inner) : detach_(detach), inner_(inner) {}
    ~Holder() override { detach_(inner_.get()); }

   private:
    Delegate<void(T *)> detach_;
    RCPtr<T> inner_;
  };

  // `unbind` clears the user object's copies of the provider's calls.
  PoolResident(UninitCaller *userGroup, UninitCaller *providerRoot, const RCPtr<HolderBase> &holder,
               const Delegate<void()> &unbind);
  PoolResident(const PoolResident &) = delete;
  PoolResident &operator=(const PoolResident &) = delete;

 private:
  void ReleaseHolder() { holder_.Reset(); }

  UninitResidentMulti group_;
  RCPtr<HolderBase> holder_;
  UninitResident releaser_;
  UninitResident unbinder_;
};
