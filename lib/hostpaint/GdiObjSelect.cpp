#include "GdiObjSelect.h"

#include "general/AssertionRecord.h"

namespace PaintProcs {

bool GdiObjSelect::Busy(int line, const char *name) const {
  return !Check(!penSelected_ && !brushSelected_, "GdiObjSelect", line, name);
}

void GdiObjSelect::Select(HDC dc, HPEN pen, HBRUSH brush) {
  if (Busy(79, "PaintProcs::GdiObjSelect::Select")) return;
  TakePen(dc, pen);
  TakeBrush(dc, brush);
}

void GdiObjSelect::SelectPen(HDC dc, HPEN pen) {
  if (!Busy(94, "PaintProcs::GdiObjSelect::SelectPen")) TakePen(dc, pen);
}

void GdiObjSelect::SelectBrush(HDC dc, HBRUSH brush) {
  if (!Busy(105, "PaintProcs::GdiObjSelect::SelectBrush")) TakeBrush(dc, brush);
}

void GdiObjSelect::TakePen(HDC dc, HPEN pen) {
  dc_ = dc;
  pen_ = pen;
  previousPen_ = static_cast<HPEN>(SelectObject(dc, pen));
  penSelected_ = 1;
}

void GdiObjSelect::TakeBrush(HDC dc, HBRUSH brush) {
  dc_ = dc;
  brush_ = brush;
  previousBrush_ = static_cast<HBRUSH>(SelectObject(dc, brush));
  brushSelected_ = 1;
}

void GdiObjSelect::Restore() {
  if (penSelected_) {
    HGDIOBJ back = SelectObject(dc_, previousPen_);
    penSelected_ = 0;
    Check(back == pen_, "GdiObjSelect", 62, "PaintProcs::GdiObjSelect::~GdiObjSelect");
  }
  if (brushSelected_) {
    HGDIOBJ back = SelectObject(dc_, previousBrush_);
    brushSelected_ = 0;
    Check(back == brush_, "GdiObjSelect", 72, "PaintProcs::GdiObjSelect::~GdiObjSelect");
  }
}

}  // namespace PaintProcs
