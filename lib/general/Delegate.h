#pragma once

#include <vector>

#include "BindMap.h"
#include "CheckSites.h"
#include "RCPtr.h"

// Delegates: every call across a subsystem border goes through one, bound once
// at start-up. Calling an unbound delegate records a check, calls nothing and
// returns zero. A plain delegate does not keep its target alive: its owner
// clears it (ordered tear-down) before the target dies.

namespace Delegate_NS {

template <class Sig>
class DelBase;

template <class R, class... A>
class DelBase<R(A...)> {
 public:
  using Map = BindMap<R(A...)>;

  // Binds a member function of `object` (not counted); constants are appended
  // after the call's arguments. Refused on a bound delegate.
  template <class T, class F, class... C>
  void Bind(T *object, F function, C... constants) {
    if (!Check<R(A...)>(!invoke_, CheckSites::kBindBound)) return;
    Bind_Map_Member(primary_, object, function, std::move(constants)...);
    invoke_ = primary_.invoker;
  }
  template <class T, class F, class... C>
  void Bind(const RCPtr<T> &object, F function, C... constants) {
    Bind(object.get(), function, std::move(constants)...);
  }

  template <class F, class... C>
  void BindS(F function, C... constants) {
    if (!Check<R(A...)>(!invoke_, CheckSites::kBindStaticBound)) return;
    Bind_Map_Static(primary_, function, std::move(constants)...);
    invoke_ = primary_.invoker;
  }

  // Adds a further target; on an unbound delegate this is exactly Bind.
  template <class T, class F, class... C>
  void AddBind(T *object, F function, C... constants) {
    if (!invoke_) return Bind(object, function, std::move(constants)...);
    Map map;
    Bind_Map_Member(map, object, function, std::move(constants)...);
    Append(map);
  }
  template <class T, class F, class... C>
  void AddBind(const RCPtr<T> &object, F function, C... constants) {
    AddBind(object.get(), function, std::move(constants)...);
  }
  template <class F, class... C>
  void AddBindS(F function, C... constants) {
    if (!invoke_) return BindS(function, std::move(constants)...);
    Map map;
    Bind_Map_Static(map, function, std::move(constants)...);
    Append(map);
  }

  bool IsBound() const { return invoke_ != nullptr; }

  void Clear() {
    invoke_ = nullptr;
    primary_.Reset();
    chain_.clear();
  }

 protected:
  typename Map::Invoker invoke_ = nullptr;
  Map primary_;
  std::vector<Map> chain_;

 private:
  void Append(const Map &map) {
    if (chain_.empty()) {
      chain_.push_back(primary_);
      invoke_ = &InvokeAll;
    }
    chain_.push_back(map);
  }

  // Runs every target in the order added. The length is read again before each
  // call, so a target may clear or extend the delegate; the local copy keeps the
  // running target's constants alive.
  static R InvokeAll(const Map &, const DelBase &self, A... args) {
    for (size_t i = 0; i < self.chain_.size(); ++i) {
      const Map local = self.chain_[i];
      if constexpr (std::is_void_v<R>) {
        local.invoker(local, self, args...);
      } else if (i + 1 == self.chain_.size()) {
        return local.invoker(local, self, args...);
      } else {
        local.invoker(local, self, args...);
      }
    }
    if constexpr (!std::is_void_v<R>) return R();
  }
};

}  // namespace Delegate_NS

template <class Sig>
class Delegate;

template <class R, class... A>
class Delegate<R(A...)> : public Delegate_NS::DelBase<R(A...)> {
 public:
  R operator()(A... args) const {
    if (!this->invoke_) {
      Check<R(A...)>(false, std::is_void_v<R> ? CheckSites::kCallUnboundVoid : CheckSites::kCallUnboundValue);
      return R();
    }
    return this->invoke_(this->primary_, *this, std::forward<A>(args)...);
  }
};

// Builds a delegate bound to a member function, for use in initialisers.
template <class Sig, class T, class F, class... C>
Delegate<Sig> MakeDelegate(T *object, F function, C... constants) {
  Delegate<Sig> d;
  d.Bind(object, function, std::move(constants)...);
  return d;
}

template <class Sig, class F, class... C>
Delegate<Sig> MakeDelegateS(F function, C... constants) {
  Delegate<Sig> d;
  d.BindS(function, std::move(constants)...);
  return d;
}
