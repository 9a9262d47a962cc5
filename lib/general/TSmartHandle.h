#pragma once

#include "CRefCounter.h"

// The counted owner of a system handle, closed with `Close` when the owner
// goes. Held through RCPtr where several owners share a handle, or embedded by
// value in the one object that owns it.
template <class Handle, class CloseFn, CloseFn Close>
class TSmartHandle : public virtual CRefCounter {
 public:
  TSmartHandle() = default;
  explicit TSmartHandle(Handle handle) : handle_(handle) {}
  TSmartHandle(const TSmartHandle &) = delete;
  TSmartHandle &operator=(const TSmartHandle &) = delete;
  ~TSmartHandle() override { Reset(); }

  Handle Get() const { return handle_; }
  // Out-parameter for platform calls that open the handle; it must be empty.
  Handle *Put() { return &handle_; }

  // Closes the handle (the closing function's result is ignored) and empties it.
  void Reset(Handle handle = Handle()) {
    if (handle_) Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Handle();
};
