#pragma once

#include "general/CheckSites.h"
#include "win/gdi.h"

namespace PaintProcs {

// The check of a refused delete, by kind of object.
template <class Handle>
struct SmartGdiObjectSite;
template <>
struct SmartGdiObjectSite<HFONT> {
  static constexpr const CheckSite &kNotDeleted = CheckSites::kFontNotDeleted;
};
template <>
struct SmartGdiObjectSite<HPEN> {
  static constexpr const CheckSite &kNotDeleted = CheckSites::kPenNotDeleted;
};
template <>
struct SmartGdiObjectSite<HBRUSH> {
  static constexpr const CheckSite &kNotDeleted = CheckSites::kBrushNotDeleted;
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
    if (handle_) Check(DeleteObject(handle_) != FALSE, SmartGdiObjectSite<Handle>::kNotDeleted);
    handle_ = nullptr;
  }

  Handle handle_ = nullptr;
};

}  // namespace PaintProcs
