#pragma once

#include <vector>

#include "Delegate.h"

// A delegate that owns a counted reference to the object of each of its
// targets, keeping them alive at least as long as the delegate.
template <class Sig>
class DelegateRC;

template <class R, class... A>
class DelegateRC<R(A...)> : public Delegate<R(A...)> {
  using Base = Delegate<R(A...)>;

 public:
  template <class T, class F, class... C>
  void Bind(const RCPtr<T> &object, F function, C... constants) {
    if (!Check<R(A...)>(!keepAlive_, CheckSites::kBindCountedBound)) return;
    keepAlive_ = object.get();
    Base::Bind(object, function, std::move(constants)...);
  }
  template <class T, class F, class... C>
  void Bind(T *object, F function, C... constants) {
    Bind(RCPtr<T>(object), function, std::move(constants)...);
  }

  template <class T, class F, class... C>
  void AddBind(const RCPtr<T> &object, F function, C... constants) {
    if (!keepAlive_)
      keepAlive_ = object.get();
    else
      keepAliveList_.push_back(RCPtr<CRefCounter>(object.get()));
    Base::AddBind(object, function, std::move(constants)...);
  }
  template <class T, class F, class... C>
  void AddBind(T *object, F function, C... constants) {
    AddBind(RCPtr<T>(object), function, std::move(constants)...);
  }

  // Unbinding also lets go of the kept objects, so the delegate can be bound anew.
  void Clear() {
    Base::Clear();
    keepAliveList_.clear();
    keepAlive_.Reset();
  }

 private:
  RCPtr<CRefCounter> keepAlive_;
  std::vector<RCPtr<CRefCounter>> keepAliveList_;
};
