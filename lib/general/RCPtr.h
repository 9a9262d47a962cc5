#pragma once

#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>

#include "CRefCounter.h"
#include "CheckSites.h"

template <class T>
class RCPtr;

namespace RCPtr_NS {

template <class T>
CRefCounter *Counter(T *p) {
  return const_cast<std::remove_const_t<T> *>(p);
}

// Stores `value` into `slot`: the new target is counted before the old one is
// released, so self-assignment is safe and code run by the old target's
// destruction already sees the new value.
template <class T>
void RefCounterPtrAssign(RCPtr<T> *slot, T *value) {
  if (!Check(slot != nullptr, CheckSites::kAssignWithoutSlot)) return;
  if (value) Counter(value)->AddRef();
  T *old = slot->p_;
  slot->p_ = value;
  if (old) Counter(old)->Release();
}

template <class T>
class RCPtrBase {
 public:
  T *get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  bool IsEmpty() const { return p_ == nullptr; }

  // The target, or null after recording the empty-pointer check: member
  // access through an empty pointer reaches nothing.
  T *CheckedGet() const {
    Check<T>(p_ != nullptr, std::is_const_v<T> ? CheckSites::kEmptyConstPointer : CheckSites::kEmptyPointer);
    return p_;
  }
  T *operator->() const { return CheckedGet(); }
  T &operator*() const { return *CheckedGet(); }

  // Copies this pointer into a pointer to a base or interface type of T.
  template <class U>
  void CopyTo(RCPtr<U> *destination) const {
    if (!Check<T>(destination != nullptr, CheckSites::kCopyToWithoutDestination)) return;
    if (!Check<T>(p_ != nullptr, CheckSites::kCopyToFromEmpty)) return;
    destination->Reset();
    RefCounterPtrAssign<U>(destination, p_);
  }

 protected:
  RCPtrBase() = default;
  ~RCPtrBase() = default;

  T *p_ = nullptr;

 private:
  template <class U>
  friend void RefCounterPtrAssign(RCPtr<U> *, U *);
};

}  // namespace RCPtr_NS

// The counted smart pointer: holds one count on its target while non-empty.
template <class T>
class RCPtr : public RCPtr_NS::RCPtrBase<T> {
 public:
  RCPtr() = default;
  RCPtr(std::nullptr_t) {}
  RCPtr(T *p) { Assign(p); }
  RCPtr(const RCPtr &other) { Assign(other.p_); }
  RCPtr(RCPtr &&other) noexcept { std::swap(this->p_, other.p_); }
  template <class U, class = std::enable_if_t<std::is_convertible_v<U *, T *>>>
  RCPtr(const RCPtr<U> &other) {
    Assign(other.get());
  }
  ~RCPtr() { Reset(); }

  RCPtr &operator=(const RCPtr &other) {
    Assign(other.p_);
    return *this;
  }
  RCPtr &operator=(RCPtr &&other) noexcept {
    if (this != &other) {
      RCPtr old(std::move(*this));
      std::swap(this->p_, other.p_);
    }
    return *this;
  }
  RCPtr &operator=(T *p) {
    Assign(p);
    return *this;
  }

  // The pointer is set to null first, then the old target is released.
  void Reset() {
    T *old = this->p_;
    this->p_ = nullptr;
    if (old) RCPtr_NS::Counter(old)->Release();
  }

  friend bool operator==(const RCPtr &a, const RCPtr &b) { return a.p_ == b.p_; }
  friend bool operator==(const RCPtr &a, std::nullptr_t) { return a.p_ == nullptr; }
  // Ordered by target identity, for maps keyed by object.
  friend bool operator<(const RCPtr &a, const RCPtr &b) { return std::less<T *>()(a.p_, b.p_); }

 private:
  void Assign(T *p) { RCPtr_NS::RefCounterPtrAssign<T>(this, p); }
};

// A counted handle to an object created here: new objects start at count 0,
// so hand them to an RCPtr at once.
template <class T, class... Args>
RCPtr<T> MakeRC(Args &&...args) {
  return RCPtr<T>(new T(std::forward<Args>(args)...));
}
