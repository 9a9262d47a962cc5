// The view's layout and painting.
#include <cstdarg>
#include <cwchar>

#include "CentsText.h"
#include "DrovaneView_H.h"
#include "GdiFontSelect.h"
#include "Rounding.h"
#include "win/kernel.h"
#include "measure/MidiTypes.h"

namespace {

constexpr wchar_t kMicHint[] =
    L"If you have no microphone\r\nyou can plug your headphones\r\ninto microphone input. Sometime it works.";

// The DC's text attributes, put back when a paint is done, so a DC painted
// into twice looks the same both times.
class TextAttributes {
 public:
  explicit TextAttributes(HDC dc)
      : dc_(dc),
        mode_(SetBkMode(dc, OPAQUE)),
        back_(SetBkColor(dc, 0)),
        text_(SetTextColor(dc, 0)),
        align_(SetTextAlign(dc, 0)) {
    Restore();
  }
  ~TextAttributes() { Restore(); }
  TextAttributes(const TextAttributes &) = delete;
  TextAttributes &operator=(const TextAttributes &) = delete;

 private:
  void Restore() const {
    SetBkMode(dc_, mode_);
    SetBkColor(dc_, back_);
    SetTextColor(dc_, text_);
    SetTextAlign(dc_, align_);
  }
  HDC dc_;
  int mode_;
  COLORREF back_, text_;
  UINT align_;
};

double Frequency(double note, double reference) { return FrequencyFromNote(note, reference); }

// swprintf that always leaves a terminated string, cut if it does not fit.
template <size_t N>
void Format(wchar_t (&text)[N], const wchar_t *format, ...) {
  va_list args;
  va_start(args, format);
  if (std::vswprintf(text, N, format, args) < 0) text[N - 1] = 0;
  va_end(args);
}

}  // namespace

void DrovaneView_H::SetClientSize(int width, int height) { Layout(width, height); }

void DrovaneView_H::Layout(int width, int height) {
  if (options_.showGuitar) {
    const int split = Rounding::Trunc(width * (2.0 / 3));
    gauge_.rect = {0, 0, split, height};
    panel_.rect = {split, 0, width, height};
  } else {
    gauge_.rect = {0, 0, width, height};
    panel_.rect = {width, 0, width, height};
  }
}

void DrovaneView_H::Paint(HDC dc, int width, int height, const RECT &paintRect) {
  const TextAttributes attributes(dc);
  Layout(width, height);
  if (options_.strumScreen) {
    strumPanel_.rect = {0, 0, width, height};
    strumPanel_.Paint(dc, bindings_.getReference(), panel_);
    return;
  }
  if (options_.strobeScreen) {
    strobePanel_.rect = {0, 0, width, height};
    const uint32_t ms = GetTickCount();
    strobePanel_.Paint(dc, bindings_.getReference(), note_, targets_.Target(note_), ms, paintRect);
    bandsShift_ = strobePanel_.Shift(ms);
    return;
  }
  gauge_.context = dc;
  gauge_.value = Deviation();
  gauge_.Paint();
  RECT overlap;
  if (options_.showGuitar && IntersectRect(&overlap, &panel_.rect, &paintRect)) panel_.Paint(dc);
  PaintTexts(dc, width, height);
  const RECT &g = gauge_.rect;
  if (paintRect.left <= g.left && paintRect.top <= g.top && paintRect.right >= g.right && paintRect.bottom >= g.bottom)
    gaugePainted_ = GaugeShown();
}

std::wstring DrovaneView_H::GaugeShown() const {
  std::wstring shown = gauge_.Shown(Deviation());
  if (options_.detailedText)
    shown += DetailedTitle() + L"|" + DetailedBody();
  else
    shown += ShortText();
  return shown;
}

void DrovaneView_H::PaintTexts(HDC dc, int width, int height) const {
  const RECT client{0, 0, width, height};
  if (options_.detailedText)
    PaintDetailedText(dc, client);
  else
    PaintShortText(dc, client);
  if (options_.showMicHint) PaintMicHint(dc, width, height);
}

void DrovaneView_H::PaintDetailedText(HDC dc, const RECT &client) const {
  PaintProcs::GdiFontSelect font;
  font.Select(titleStyle_, dc);
  const std::wstring title = DetailedTitle();
  ExtTextOutW(dc, client.left, titleStyle_.height, 0, nullptr, title.c_str(), static_cast<UINT>(title.size()),
              nullptr);
  font.Restore();
  font.Select(valueStyle_, dc);
  RECT box{client.left, client.top + valueStyle_.height + titleStyle_.height, client.right, client.bottom};
  DrawTextW(dc, DetailedBody().c_str(), -1, &box, DT_LEFT | DT_TOP);
}

std::wstring DrovaneView_H::DetailedTitle() const {
  wchar_t text[256];
  Format(text, L" Note: %ls ", GetPitchName(note_));
  return text;
}

std::wstring DrovaneView_H::DetailedBody() const {
  const double reference = bindings_.getReference();
  wchar_t text[256];
  const double expected = Frequency(targets_.Target(note_), reference);
  if (gauge_.valid) {
    const double sound = Frequency(pitch_, reference);
    Format(text,
           L" Frequency:\n  expected %.2f dif:%.2f\n     sound %.2f\n Midi:\n  expected %u dif:%.2f\n     sound "
           L"%.2f %ls",
           expected, sound - expected, sound, static_cast<unsigned>(note_), Deviation(), pitch_,
           GetPitchName(targets_.Nearest(pitch_)));
  } else {
    Format(text, L" Frequency:\n  expected %.2f dif:\n     sound \n Midi:\n  expected %u \n     sound ", expected,
           static_cast<unsigned>(note_));
  }
  return text;
}

// The direction word leaves its right alignment in the DC; this text is
// meant to start at the left edge, so it sets its own alignment.
void DrovaneView_H::PaintShortText(HDC dc, const RECT &client) const {
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  RECT box = client;
  DrawTextW(dc, ShortText().c_str(), -1, &box, DT_LEFT | DT_TOP);
}

std::wstring DrovaneView_H::ShortText() const {
  const double reference = bindings_.getReference();
  const double heard = pitch_ != 0 ? Frequency(pitch_, reference) : 0.0;
  wchar_t text[96];
  if (options_.centsText && pitch_ != 0)
    Format(text, L"A %.2f\r\n\r\n%.2f Hz  %ls\r\n", reference, heard, CentsText(Deviation() * 100).c_str());
  else
    Format(text, L"A %.2f\r\n\r\n%.2f Hz\r\n", reference, heard);
  return text;
}

void DrovaneView_H::PaintMicHint(HDC dc, int width, int height) const {
  PaintProcs::GdiFontSelect font;
  font.Select(hintStyle_, dc);
  RECT box{10, height - 3 * hintStyle_.height, width, height};
  DrawTextW(dc, kMicHint, -1, &box, DT_LEFT | DT_TOP);
}
