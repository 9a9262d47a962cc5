#include "GdiObjSelect.h"

#include "general/CheckSites.h"

namespace PaintProcs {

bool GdiObjSelect::Busy(const CheckSite &site) const { return !Check(!penSelected_ && !brushSelected_, site); }

void GdiObjSelect::Select(HDC dc, HPEN pen, HBRUSH brush) {
  if (Busy(CheckSites::kSelectWhileSelected)) return;
  TakePen(dc, pen);
  TakeBrush(dc, brush);
}

void GdiObjSelect::SelectPen(HDC dc, HPEN pen) {
  if (!Busy(CheckSites::kSelectPenWhileSelected)) TakePen(dc, pen);
}

void GdiObjSelect::SelectBrush(HDC dc, HBRUSH brush) {
  if (!Busy(CheckSites::kSelectBrushWhileSelected)) TakeBrush(dc, brush);
}

void GdiObjSelect::TakePen(HDC dc, HPEN pen) {
  dc_ = dc;
  pen_ = pen;
  previousPen_ = static_cast<HPEN>(SelectObject(dc, pen));
  penSelected_ = true;
}

void GdiObjSelect::TakeBrush(HDC dc, HBRUSH brush) {
  dc_ = dc;
  brush_ = brush;
  previousBrush_ = static_cast<HBRUSH>(SelectObject(dc, brush));
  brushSelected_ = true;
}

void GdiObjSelect::Restore() {
  if (penSelected_) {
    HGDIOBJ back = SelectObject(dc_, previousPen_);
    penSelected_ = false;
    Check(back == pen_, CheckSites::kPenSwappedMeanwhile);
  }
  if (brushSelected_) {
    HGDIOBJ back = SelectObject(dc_, previousBrush_);
    brushSelected_ = false;
    Check(back == brush_, CheckSites::kBrushSwappedMeanwhile);
  }
}

}  // namespace PaintProcs
