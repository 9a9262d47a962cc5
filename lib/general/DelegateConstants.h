#pragma once

#include <tuple>

#include "CheckSites.h"

namespace Delegate_NS {

// Small counted base for constants bound with a delegate, shared between the
// delegate's copies. Separate from CRefCounter: a record dies at count 0 exactly.
class PtrBase {
 public:
  virtual ~PtrBase() = default;
  void AddRef() { ++count_; }
  void Release() {
    if (--count_ == 0) delete this;
  }
  int RefCount() const { return count_; }

 private:
  int count_ = 0;
};

// Owning pointer to a PtrBase; Attach adopts an object without counting it.
template <class P>
class Ptr {
 public:
  Ptr() = default;
  Ptr(const Ptr &other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  Ptr &operator=(const Ptr &other) {
    if (other.p_) other.p_->AddRef();
    P *old = p_;
    p_ = other.p_;
    if (old) old->Release();
    return *this;
  }
  ~Ptr() { Reset(); }

  void Attach(P *p) {
    Check(p_ == nullptr, CheckSites::kConstantsAttachedTwice);
    P *old = p_;
    p_ = p;
    if (old) old->Release();
  }
  void Reset() {
    P *old = p_;
    p_ = nullptr;
    if (old) old->Release();
  }
  P *get() const { return p_; }

 private:
  P *p_ = nullptr;
};

template <class... C>
struct DelConst {};

template <class D>
class SpecificConstData;

// The constant values bound with one target, in argument order.
template <class... C>
class SpecificConstData<DelConst<C...>> : public PtrBase {
 public:
  explicit SpecificConstData(C... values) : values(std::move(values)...) { AddRef(); }
  std::tuple<C...> values;
};

}  // namespace Delegate_NS
