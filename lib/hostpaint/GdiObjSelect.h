#pragma once

#include "general/AssertionRecord.h"
#include "win/gdi.h"

namespace PaintProcs {

// Selects a pen and/or a brush into one DC and puts the previous ones back
// when restored or destroyed (pen first, then brush). A guard holds one
// selection at a time: a second one before Restore is refused with a contract
// check. After Restore it may select again. The DC must outlive the
// selection. UI thread only; never copied.
class GdiObjSelect {
 public:
  GdiObjSelect() = default;
  GdiObjSelect(const GdiObjSelect &) = delete;
  GdiObjSelect &operator=(const GdiObjSelect &) = delete;
  ~GdiObjSelect() { Restore(); }

  void Select(HDC dc, HPEN pen, HBRUSH brush);
  void SelectPen(HDC dc, HPEN pen);
  void SelectBrush(HDC dc, HBRUSH brush);
  // Puts back what the selection replaced; records a check when the object
  // that comes out is not the one this guard put in.
  void Restore();

 private:
  bool Busy(const CheckSite &site) const;
  void TakePen(HDC dc, HPEN pen);
  void TakeBrush(HDC dc, HBRUSH brush);

  HPEN pen_ = nullptr;
  HBRUSH brush_ = nullptr;
  HDC dc_ = nullptr;
  HPEN previousPen_ = nullptr;
  HBRUSH previousBrush_ = nullptr;
  bool penSelected_ = false;
  bool brushSelected_ = false;
};

}  // namespace PaintProcs
