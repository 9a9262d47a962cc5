#pragma once

#include "general/AssertionRecord.h"
#include "win/gdi.h"

namespace PaintProcs {

template <class Handle>
struct SmartGdiObjectNames;
template <>
struct SmartGdiObjectNames<HFONT> {
  static constexpr const char *kDestructor = "PaintProcs::SmartGdiObject<struct HFONT__ *>::~SmartGdiObject";
};
template <>
struct SmartGdiObjectNames<HPEN> {
  static constexpr const char *kDestructor = "PaintProcs::SmartGdiObject<struct HPEN__ *>::~SmartGdiObject";
};
template <>
struct SmartGdiObjectNames<HBRUSH> {
  static constexpr const char *kDestructor = "PaintProcs::SmartGdiObject<struct HBRUSH__ *>::~SmartGdiObject";
};

// Owns one font, pen or brush handle (null when empty) and deletes it once,
// at destruction. Filled when its owner is built; never copied. A delete that
// the platform refuses (the object is still selected) is recorded as a
// contract check and the handle is left alone. UI thread only.
template <class Handle>
class SmartGdiObject {
 public:
  SmartGdiObject() = default;
  explicit SmartGdiObject(Handle handle) : handle_(handle) {}
  SmartGdiObject(const SmartGdiObject &) = delete;
  SmartGdiObject &operator=(const SmartGdiObject &) = delete;
  ~SmartGdiObject() { Delete(); }

  Handle Get() const { return handle_; }
  operator Handle() const { return handle_; }
  // Takes ownership of `handle`, deleting any handle held before.
  void Attach(Handle handle) {
    Delete();
    handle_ = handle;
  }

 private:
  void Delete() {
    if (handle_) Check(DeleteObject(handle_) != FALSE, "SmartGdiObject", 25, SmartGdiObjectNames<Handle>::kDestructor);
    handle_ = nullptr;
  }

  Handle handle_ = nullptr;
};

}  // namespace PaintProcs
