#include "GuitarPanel.h"

#include <cwchar>
#include <string>

#include "GdiFontSelect.h"
#include "GdiObjSelect.h"
#include "Rounding.h"
#include "measure/MidiTypes.h"

namespace {

// Where the picture's six strings cross it, as fractions of its height from the top.
constexpr double kProportion[6] = {0.264, 0.365, 0.462, 0.562, 0.666, 0.762};
constexpr wchar_t kSpaceHint[] = L"\"Space\" - sound selected note";
constexpr int kHalfBar = 6;

using Rounding::Nearest;

void TextAt(HDC dc, int x, int y, const wchar_t *text) {
  ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(std::wcslen(text)), nullptr);
}

}  // namespace

GuitarPanel::GuitarPanel(HINSTANCE module)
    : nullPen_(CreatePen(PS_NULL, 0, 0)),
      barBrush_(CreateSolidBrush(RGB(166, 166, 166))),
      selectedPen_(CreatePen(PS_SOLID, 4, RGB(255, 128, 64))),
      selectedBrush_(CreateSolidBrush(RGB(166, 166, 166))),
      highlightBrush_(CreateSolidBrush(RGB(255, 202, 176))),
      picture_(MakeRC<PictureFile>(module, L"Guitar.bmp")) {
  noteNameStyle_.Create(L"Verdana", 20, true);
  noteNameStyle_.backColor = 0xFFFFFF;
  noteNameStyle_.textColor = 0x000000;
  labelStyle_.Create(L"Verdana", 16, false);
  labelStyle_.backColor = 0xF5F5F5;
  labelStyle_.textColor = 0x000000;
  labelStyle_.backMode = OPAQUE;
  labelStyle_.textAlign = TA_RIGHT | TA_BASELINE;
}

double GuitarPanel::BarCentre(int i) const {
  const double spread = kProportion[0] + (kProportion[5] - kProportion[0]) * i / (strings - 1);
  const double share = strings == 6 ? kProportion[i] : spread;
  return rect.top + (rect.bottom - rect.top) * share;
}
int GuitarPanel::BarTop(int i) const { return Nearest(BarCentre(i) - kHalfBar); }
int GuitarPanel::BarBottom(int i) const { return Nearest(BarCentre(i) + kHalfBar); }

bool GuitarPanel::HitTest(int x, int y, double *note) const {
  for (int i = 0; i < strings; ++i) {
    if (BarTop(i) <= y && y <= BarBottom(i) && rect.left <= x && x <= rect.right) {
      *note = notes[i];
      return true;
    }
  }
  return false;
}

void GuitarPanel::Paint(HDC dc) const {
  StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, picture_->DC(), 0, 0,
             picture_->Width(), picture_->Height(), SRCCOPY);
  PaintBars(dc, false);
  PaintBars(dc, true);
  if (showNoteNames) PaintNoteNames(dc);
  if (showStringLabels) PaintStringLabels(dc);
}

// Unselected bars are plain filled strips; selected ones get a 4-pixel
// border, inset so the border stays inside the panel.
void GuitarPanel::PaintBars(HDC dc, bool selectedPass) const {
  for (int i = 0; i < strings; ++i) {
    if (selected[i] != selectedPass) continue;
    HBRUSH fill = highlight[i] ? highlightBrush_.Get() : selectedPass ? selectedBrush_.Get() : barBrush_.Get();
    PaintProcs::GdiObjSelect guard;
    guard.Select(dc, selectedPass ? selectedPen_.Get() : nullPen_.Get(), fill);
    const int inset = selectedPass ? 2 : 0;
    Rectangle(dc, rect.left + inset, BarTop(i), rect.right - inset, BarBottom(i));
  }
}

void GuitarPanel::PaintNoteNames(HDC dc) const {
  PaintProcs::GdiFontSelect font;
  font.Select(noteNameStyle_, dc);
  for (int i = 0; i < strings; ++i)
    TextAt(dc, rect.left + 5, Nearest(BarCentre(i) - noteNameStyle_.height / 2.0), GetPitchShortName(notes[i]));
}

void GuitarPanel::PaintStringLabels(HDC dc) const {
  PaintProcs::GdiFontSelect font;
  font.Select(labelStyle_, dc);
  // Labelled as guitarists number them, the highest 1.
  for (int i = 0; i < strings; ++i)
    TextAt(dc, rect.right, Nearest(BarCentre(i) - kHalfBar), std::to_wstring(strings - i).c_str());
  TextAt(dc, rect.right, rect.bottom - labelStyle_.height / 2, kSpaceHint);
}
