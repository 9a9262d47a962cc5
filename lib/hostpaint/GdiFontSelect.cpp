#include "GdiFontSelect.h"

#include "general/CheckSites.h"

namespace PaintProcs {

void GdiFontSelect::Select(const FontSpec &style, HDC dc) {
  if (Check(!selected_, CheckSites::kFontSelectWhileSelected)) {
    font_ = style.font.Get();
    dc_ = dc;
    previousFont_ = static_cast<HFONT>(SelectObject(dc, font_));
    selected_ = true;
  }
  SetBkMode(dc, style.backMode);
  SetTextColor(dc, style.textColor);
  SetBkColor(dc, style.backColor);
  SetTextAlign(dc, style.textAlign);
}

void GdiFontSelect::Restore() {
  if (!selected_) return;
  HGDIOBJ back = SelectObject(dc_, previousFont_);
  selected_ = false;
  Check(back == font_, CheckSites::kFontSwappedMeanwhile);
}

}  // namespace PaintProcs
