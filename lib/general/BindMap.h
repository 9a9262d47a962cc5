#pragma once

#include <cstring>
#include <tuple>
#include <utility>

#include "CheckSites.h"
#include "DelegateConstants.h"

namespace Delegate_NS {

template <class Sig>
class DelBase;

// One bound target: a raw (uncounted) object pointer, the function to call,
// the routine that calls it with this signature, and shared bound constants.
template <class Sig>
struct BindMap;

template <class R, class... A>
struct BindMap<R(A...)> {
  using Owner = DelBase<R(A...)>;
  // Every call routine gets the map it belongs to and the delegate that called
  // it; single targets use the map, the chain routine uses the delegate.
  using Invoker = R (*)(const BindMap &, const Owner &, A...);

  // Large enough for any member-function pointer of the Itanium ABI.
  struct FunctionBytes {
    alignas(void *) unsigned char bytes[2 * sizeof(void *)] = {};
  };

  bool IsEmpty() const { return object == nullptr && invoker == nullptr; }
  void Reset() { *this = BindMap(); }

  template <class F>
  void StoreFunction(F f) {
    static_assert(sizeof(F) <= sizeof(FunctionBytes::bytes));
    std::memcpy(function.bytes, &f, sizeof f);
  }
  template <class F>
  F LoadFunction() const {
    F f;
    std::memcpy(&f, function.bytes, sizeof f);
    return f;
  }
  template <class... C>
  std::tuple<C...> &Constants() const {
    return static_cast<SpecificConstData<DelConst<C...>> *>(constants.get())->values;
  }

  template <class T, class F, class... C>
  static R InvokeMember(const BindMap &map, const Owner &, A... args) {
    T *object = static_cast<T *>(map.object);
    F f = map.LoadFunction<F>();
    if constexpr (sizeof...(C) == 0) {
      return (object->*f)(std::forward<A>(args)...);
    } else {
      return std::apply([&](C &...c) { return (object->*f)(std::forward<A>(args)..., c...); },
                        map.Constants<C...>());
    }
  }

  template <class F, class... C>
  static R InvokeStatic(const BindMap &map, const Owner &, A... args) {
    F f = map.LoadFunction<F>();
    if constexpr (sizeof...(C) == 0) {
      return f(std::forward<A>(args)...);
    } else {
      return std::apply([&](C &...c) { return f(std::forward<A>(args)..., c...); }, map.Constants<C...>());
    }
  }

  void *object = nullptr;
  FunctionBytes function;
  Invoker invoker = nullptr;
  Ptr<PtrBase> constants;
};

template <class Sig, class... C>
void AttachConstants(BindMap<Sig> &map, C... constants) {
  if constexpr (sizeof...(C) > 0)
    map.constants.Attach(new SpecificConstData<DelConst<C...>>(std::move(constants)...));
}

// Fills one map with a member function of `object`. A null object binds nothing.
template <class R, class... A, class T, class F, class... C>
void Bind_Map_Member(BindMap<R(A...)> &map, T *object, F function, C... constants) {
  if (!Check(object != nullptr, CheckSites::kBindMemberNullObject)) return;
  Check(map.object == nullptr, CheckSites::kBindMemberObjectSet);
  Check(map.invoker == nullptr, CheckSites::kBindMemberInvokerSet);
  map.Reset();
  map.object = object;
  map.StoreFunction(function);
  map.invoker = &BindMap<R(A...)>::template InvokeMember<T, F, C...>;
  AttachConstants(map, std::move(constants)...);
}

template <class R, class... A, class F, class... C>
void Bind_Map_Static(BindMap<R(A...)> &map, F function, C... constants) {
  Check(map.object == nullptr, CheckSites::kBindStaticObjectSet);
  Check(map.invoker == nullptr, CheckSites::kBindStaticInvokerSet);
  map.Reset();
  map.StoreFunction(function);
  map.invoker = &BindMap<R(A...)>::template InvokeStatic<F, C...>;
  AttachConstants(map, std::move(constants)...);
}

}  // namespace Delegate_NS
