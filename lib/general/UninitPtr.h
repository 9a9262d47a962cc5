#pragma once

#include "CRefCounter.h"
#include "Delegate.h"
#include "RCPtr.h"
#include "UninitResident.h"

// Holds one object and, at tear-down (or when the holder's own count reaches
// zero), runs an action on it while it is still held. The object itself is
// released when the holder is destroyed.
template <class T>
class UninitPtr : public virtual CRefCounter {
 public:
  UninitPtr(UninitCaller *root, RCPtr<T> object, Delegate<void(T *)> action)
      : object_(std::move(object)),
        action_(std::move(action)),
        resident_(root, this, MakeDelegate<void()>(this, &UninitPtr::RunAction)) {}

  T *get() const { return object_.get(); }
  const RCPtr<T> &Object() const { return object_; }

  // Disarms the holder: its action will not run.
  void Disarm() { armed_ = false; }

 private:
  void RunAction() {
    if (!armed_) return;
    armed_ = false;
    RCPtr<T> keep = object_;
    Delegate<void(T *)> action = action_;
    action(keep.get());
  }

  RCPtr<T> object_;
  bool armed_ = true;
  Delegate<void(T *)> action_;
  UninitResident resident_;
};
