// What the tuner shows, checked by pixels: the view painted into a 240 x 270
// memory bitmap for the states a player meets. Texts are compared with the
// same text drawn alone where the view should have put it; the needle is
// sampled along the line the gauge's geometry gives. Each picture is also
// written as a PNG under the test output directory for a person to look at.
#include <algorithm>
#include <cmath>
#include <cwchar>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "gdi/GdiHost.h"
#include "hostpaint/GdiFontSelect.h"
#include "general/CheckRecord.h"
#include "measure/TemperamentChoice.h"

namespace viewtest {
namespace {

constexpr COLORREF kBackground = 0xF5F5F5;
constexpr COLORREF kNeedle = RGB(255, 128, 64);
constexpr COLORREF kIdleNeedle = RGB(192, 192, 192);
constexpr COLORREF kBar = RGB(166, 166, 166);
constexpr COLORREF kHighlight = RGB(255, 202, 176);
constexpr COLORREF kMark = RGB(202, 66, 0);
constexpr COLORREF kBlack = 0;
constexpr int kW = 240, kH = 270;
const RECT kClient{0, 0, kW, kH};

int Nearest(double x) { return static_cast<int>(std::floor(x + 0.5)); }

// Where a gauge of width w (height kH) puts value v at `inset` pixels from
// the scale's outer end, worked out here from the gauge's definition.
struct Spot {
  double x, y;
};
Spot GaugeSpot(int w, double v, double scaleEnd, int inset = 0) {
  const double width = w - 10.0, half = kH / 2.0;
  const double theta = std::min(std::asin(half / std::max(width, half)), 1.3962634);
  const double a = -(2 * theta * v / (2 * scaleEnd));
  return {(w - 10.0 - inset) * std::cos(a), half + (width - inset) * std::sin(a)};
}
POINT GaugePoint(int w, double v, double scaleEnd) {
  const Spot s = GaugeSpot(w, v, scaleEnd);
  return {Nearest(s.x), Nearest(s.y)};
}

// A text drawn alone on the gauge's background, to compare with the view.
class Reference {
 public:
  // `face` null: the DC's own font, as a fresh paint DC has it.
  Reference(const wchar_t *face, int size, bool bold, int align, int mode = TRANSPARENT) {
    if (face) {
      style_.Create(face, size, bold);
      style_.textColor = kBlack;
      style_.backColor = kBackground;
      style_.backMode = mode;
      style_.textAlign = align;
      font_.Select(style_, canvas_.dc());
    } else {
      SetBkColor(canvas_.dc(), kBackground);
      SetTextAlign(canvas_.dc(), align);
    }
  }
  void At(int x, int y, const wchar_t *text) {
    ExtTextOutW(canvas_.dc(), x, y, 0, nullptr, text, static_cast<UINT>(std::wcslen(text)), nullptr);
  }
  void In(RECT box, const wchar_t *text, UINT format) { DrawTextW(canvas_.dc(), text, -1, &box, format); }
  int Width(const wchar_t *text) const {
    SIZE size{};
    GetTextExtentPoint32W(canvas_.dc(), text, static_cast<int>(std::wcslen(text)), &size);
    return size.cx;
  }
  const gditest::Canvas &canvas() const { return canvas_; }

 private:
  gditest::Canvas canvas_{kW, kH, kBackground};
  FontSpec style_;
  PaintProcs::GdiFontSelect font_;
};

class Pictures : public ViewTest {
 protected:
  void PaintAs(const std::string &name) {
    view_->Paint(canvas_.dc(), kW, kH, kClient);
    ASSERT_TRUE(GdiWritePng(canvas_.dc(), OutputPath("view-" + name + ".png").c_str()));
  }
  COLORREF At(int x, int y) const { return canvas_.At(x, y); }

  // Share of the points from 10% to 90% of the way from a to b that have
  // `colour`, one per pixel along the longer axis.
  double OnLine(POINT a, POINT b, COLORREF colour) const {
    const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
    int hits = 0, all = 0;
    for (int i = steps / 10; i <= steps * 9 / 10; ++i, ++all) {
      const double t = static_cast<double>(i) / steps;
      hits += At(static_cast<int>(std::lround(a.x + (b.x - a.x) * t)),
                 static_cast<int>(std::lround(a.y + (b.y - a.y) * t))) == colour;
    }
    return all ? static_cast<double>(hits) / all : 0;
  }
  // Pixels inside `box` that differ from the reference.
  int Differences(const Reference &ref, RECT box) const {
    int n = 0;
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) n += At(x, y) != ref.canvas().At(x, y);
    return n;
  }
  // The reference's solid text pixels that the view lacks, counting them in
  // `*ink` (the view may have more ink there: marks and labels under text).
  int MissingInk(const Reference &ref, RECT box, int *ink) const {
    int missing = 0;
    *ink = 0;
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x)
        if (ref.canvas().At(x, y) == kBlack) {
          ++*ink;
          missing += At(x, y) != kBlack;
        }
    return missing;
  }
  int Count(COLORREF colour, RECT box) const { return canvas_.Count(colour, box); }

  void ExpectShortText(const wchar_t *text) {
    Reference ref(nullptr, 0, false, TA_LEFT | TA_TOP);
    ref.In(kClient, text, DT_LEFT | DT_TOP);
    EXPECT_EQ(Differences(ref, {0, 0, 100, 48}), 0) << "short text is not " << testing::PrintToString(text);
  }
  // The direction word, drawn right-aligned to 75 px from the gauge's right.
  void ExpectWord(int gaugeRight, const wchar_t *word) {
    Reference ref(L"Verdana", 20, true, TA_RIGHT, OPAQUE);
    ref.At(gaugeRight - 75, 125, word);
    const RECT cell{gaugeRight - 75 - ref.Width(word), 125, gaugeRight - 75, 145};
    EXPECT_GT(Count(kBlack, cell), 20) << "no word";
    EXPECT_EQ(Differences(ref, cell), 0) << "word is not " << testing::PrintToString(word);
  }
  void ExpectNoWord(int gaugeRight) { EXPECT_EQ(Count(kBlack, {gaugeRight - 75 - 60, 120, gaugeRight - 75, 150}), 0); }
  // A tick label right-aligned at the inner end of its mark.
  void ExpectLabel(int gaugeWidth, double v, double scaleEnd, const wchar_t *text) {
    const Spot inner = GaugeSpot(gaugeWidth, v, scaleEnd, 10);
    Reference ref(nullptr, 0, false, TA_LEFT | TA_TOP);
    const int right = static_cast<int>(inner.x), top = Nearest(inner.y - 8);
    ref.In({0, top, right, kH}, text, DT_RIGHT | DT_NOCLIP);
    EXPECT_EQ(Differences(ref, {right - ref.Width(text), top, right, top + 16}), 0)
        << testing::PrintToString(text) << " is not at its mark";
  }

  gditest::Canvas canvas_{kW, kH, RGB(1, 2, 3)};
};

TEST_F(Pictures, NoPitchYetGreyNeedleAtTheLowEndAndNoWord) {
  WireAsStartUp();
  PaintAs("no-pitch");
  EXPECT_EQ(Count(RGB(1, 2, 3), kClient), 0) << "the whole window is painted";
  EXPECT_EQ(At(120, 40), kBackground);
  // value 0 - 55 pins the needle at the -0.5 end, below the pivot.
  const POINT pivot{0, 135}, tip = GaugePoint(kW, -0.5, 0.5);
  EXPECT_EQ(tip.y, 270);
  EXPECT_GT(OnLine(pivot, tip, kIdleNeedle), 0.95);
  EXPECT_EQ(Count(kNeedle, kClient), 0);
  ExpectNoWord(kW);
  ExpectShortText(L"A 440.00\r\n\r\n0.00 Hz\r\n");
  // A mark exactly at the scale's end is drawn (the one at -0.5 lies under
  // the needle).
  const Spot end = GaugeSpot(kW, 0.5, 0.5, 5);
  EXPECT_EQ(At(Nearest(end.x), Nearest(end.y)), kMark);
  for (double v : {-0.1, 0.1, 0.4}) {
    wchar_t label[8];
    std::swprintf(label, 8, L"%1.2f", v);
    ExpectLabel(kW, v, 0.5, label);
  }
}

TEST_F(Pictures, InTuneNeedleNearHorizontalAndOk) {
  WireAsStartUp();
  outside_.reference = 441.5;
  view_->SetPitch(55.01);
  PaintAs("in-tune");
  const POINT tip = GaugePoint(kW, 0.01, 0.5);
  EXPECT_EQ(tip.x, 230);
  EXPECT_EQ(tip.y, 132);
  // The word's cell covers the needle where it sits on it.
  EXPECT_GT(OnLine({0, 135}, tip, kNeedle), 0.8);
  EXPECT_EQ(OnLine({0, 135}, tip, kIdleNeedle), 0);
  ExpectWord(kW, L"Ok");
  // 441.5 × 2^((55.01 - 69) / 12) = 196.78 Hz: visible although the word
  // left its right alignment in the DC.
  ExpectShortText(L"A 441.50\r\n\r\n196.78 Hz\r\n");
}

TEST_F(Pictures, SharpByAFifthOfASemitoneNeedleUpAndDown) {
  WireAsStartUp();
  view_->SetPitch(55.2);
  PaintAs("sharp");
  const POINT tip = GaugePoint(kW, 0.2, 0.5), below = GaugePoint(kW, -0.2, 0.5);
  EXPECT_LT(tip.y, 135 - 50);
  EXPECT_GT(OnLine({0, 135}, tip, kNeedle), 0.95);
  EXPECT_EQ(OnLine({0, 135}, below, kNeedle), 0);
  ExpectWord(kW, L"Down");
  ExpectShortText(L"A 440.00\r\n\r\n198.28 Hz\r\n");
}

TEST_F(Pictures, BeyondTheZoomedScaleTheNeedleIsPinnedAtItsEnd) {
  WireAsStartUp({0, 0, 1, 0});
  view_->SetPitch(55.01);
  timers_.Advance(150 + 15 * 50);  // zoomed to ±0.04
  ASSERT_EQ(view_->Gauge().maximum, 0.04);
  view_->SetPitch(55.2);  // 0.2 is five times the scale's end
  PaintAs("beyond-scale");
  const POINT end = GaugePoint(kW, 0.04, 0.04);
  EXPECT_EQ(end.y, 0);
  EXPECT_GT(OnLine({0, 135}, end, kNeedle), 0.95);
  ExpectWord(kW, L"Down");  // the word follows the unclamped value
  ExpectLabel(kW, 0.03, 0.04, L"0.03");
  ExpectLabel(kW, -0.01, 0.04, L"-0.01");
}

TEST_F(Pictures, GuitarPanelWithAHighlightedAndASelectedString) {
  WireAsStartUp({0, 0, 0, 1});
  view_->SetPitch(45.1);       // near the A string
  timers_.Advance(150);        // A lights up (and is selected)
  view_->SetStringSelect(55);  // then G is chosen
  PaintAs("guitar");
  const RECT panel{160, 0, 240, 270};
  EXPECT_EQ(view_->Panel().rect, panel);
  // The picture is stretched over the panel: compare above the first bar.
  gditest::Canvas guitar(kW, kH);
  {
    RCPtr<PictureFile> picture = MakeRC<PictureFile>(kModule, L"Guitar.bmp");
    ASSERT_EQ(picture->Width(), 74);
    StretchBlt(guitar.dc(), 160, 0, 80, 270, picture->DC(), 0, 0, 74, 112, SRCCOPY);
  }
  int same = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 160; x < 240; ++x) same += At(x, y) == guitar.At(x, y);
  EXPECT_EQ(same, 80 * 60);
  const double proportion[] = {0.264, 0.365, 0.462, 0.562, 0.666, 0.762};
  for (int i = 0; i < 6; ++i) {
    const double c = 270 * proportion[i];
    const int top = Nearest(c - 6), bottom = Nearest(c + 6), mid = Nearest(c);
    SCOPED_TRACE(i);
    EXPECT_EQ(At(200, mid), i == 1 ? kHighlight : kBar);
    if (i == 3) {  // 4-pixel orange border, inset 2 px
      EXPECT_EQ(At(162, mid), kNeedle);
      EXPECT_EQ(At(236, mid), kNeedle);
      EXPECT_EQ(At(200, top), kNeedle);
      EXPECT_EQ(At(200, bottom - 1), kNeedle);
    } else {  // no border; the null pen leaves the last row and column
      EXPECT_EQ(At(160, mid), At(200, mid));
      EXPECT_EQ(At(238, mid), At(200, mid));
      EXPECT_EQ(At(200, bottom - 2), At(200, mid));
      EXPECT_NE(At(239, mid), At(200, mid));
    }
  }
  EXPECT_EQ(Count(kNeedle, panel), Count(kNeedle, {160, 140, 240, 164})) << "one bordered bar only";
  // The gauge keeps the left two thirds.
  EXPECT_GT(OnLine({0, 135}, GaugePoint(160, -0.5, 0.5), kNeedle), 0.95);
}

// A temperament moves where each note is in tune: in just intonation on C
// a G a little sharp of its equal-tempered pitch is in tune, and the needle
// shows the deviation from the just G; a sweetened string, from its offset.
TEST_F(Pictures, TheNeedleReadsAgainstTheTemperamentAndTheStringsOffsets) {
  WireAsStartUp();
  Measure::ScalaScale just;
  std::string why;
  ASSERT_TRUE(Measure::ParseTemperament("just", &just, &why));
  Measure::Tuning sweet;
  sweet.offsets[3] = -25;  // G3 a quarter of a semitone flat
  view_->SetTargets(Measure::NoteTargets(Measure::Temperament(just, 0), Measure::Tuning{}));
  view_->SetPitch(55.0196);  // the pure fifth above C: in tune
  EXPECT_EQ(view_->Note(), 55);
  PaintAs("just-g");
  ExpectWord(kW, L"Ok");
  EXPECT_GT(OnLine({0, 135}, GaugePoint(kW, 0, 0.5), kNeedle), 0.8);
  view_->SetPitch(55.01);  // in tune in equal temperament, flat of the just G
  PaintAs("just-g-flat");
  ExpectWord(kW, L"Ok");
  EXPECT_NEAR(view_->Gauge().value, -0.0096, 0.0001);

  view_->SetTargets(Measure::NoteTargets(Measure::Temperament(), sweet));
  view_->SetPitch(55.0);  // the G string is to be a quarter tone flat: Down
  PaintAs("sweetened-g");
  EXPECT_EQ(view_->Note(), 55);
  EXPECT_DOUBLE_EQ(view_->Gauge().value, 0.25);
  ExpectWord(kW, L"Down");
  view_->SetPitch(54.74);  // nearer its target than F#'s: G, a cent flat, Ok
  EXPECT_EQ(view_->Note(), 55);
  PaintAs("sweetened-g-ok");
  ExpectWord(kW, L"Ok");
}

// Four to nine strings: as many bars, the six of a guitar where the
// picture's strings are, any other count evenly between its outer two; the
// strum screen as many rows.
TEST_F(Pictures, TheGuitarPanelAndTheStrumScreenDrawEveryStringOfTheTuning) {
  WireAsStartUp({0, 0, 0, 1});
  for (const std::vector<int> &notes : {std::vector<int>{23, 28, 33, 38, 43}, std::vector<int>{67, 60, 64, 69},
                                        std::vector<int>{21, 30, 40, 50, 60, 70, 75, 80, 84}}) {
    const int n = static_cast<int>(notes.size());
    SCOPED_TRACE(n);
    view_->SetStringNotes(notes);
    view_->SetStringSelectIndex(n - 1);
    PaintAs("strings-" + std::to_string(n));
    for (int i = 0; i < n; ++i) {
      const double c = 270 * (0.264 + (0.762 - 0.264) * i / (n - 1));
      EXPECT_EQ(view_->Panel().BarTop(i), Nearest(c - 6)) << i;
      EXPECT_EQ(At(200, Nearest(c)), kBar) << i;
      EXPECT_EQ(At(162, Nearest(c)), i == n - 1 ? kNeedle : kBar) << "the last string chosen";
      const double gap = c + 270 * (0.762 - 0.264) / (n - 1) / 2;
      if (i < n - 1) {
        EXPECT_NE(At(200, Nearest(gap)), kBar) << "between bars " << i << " and " << i + 1;
      }
    }
    double note = 0;
    EXPECT_TRUE(view_->HitTest(200, view_->Panel().BarTop(n - 1) + 1, &note));
    EXPECT_EQ(note, notes.back());
    const StrumPanel &rows = view_->StrumScreen();
    EXPECT_EQ(rows.rows, n);
    EXPECT_EQ(rows.Word(n - 1), L"");
  }
  view_->SetStringSelectIndex(9);
  EXPECT_EQ(LastCheck(record_), Text(CheckSites::kStringIndexOutOfRange));
}

TEST_F(Pictures, DetailedTextWithAndWithoutAPitch) {
  WireAsStartUp({0, 1, 0, 0});
  view_->SetPitch(55.2);
  PaintAs("detailed");
  Reference title(L"Verdana", 20, true, TA_BASELINE);
  title.At(0, 20, L" Note: G-1 ");
  Reference values(L"Courier New", 16, false, TA_LEFT | TA_TOP);
  const wchar_t *text =
      L" Frequency:\n  expected 196.00 dif:2.28\n     sound 198.28\n Midi:\n  expected 55 dif:0.20\n"
      L"     sound 55.20 G-1";
  values.In({0, 36, kW, kH}, text, DT_LEFT | DT_TOP);
  int ink = 0;
  EXPECT_EQ(MissingInk(title, {0, 0, kW, 30}, &ink), 0);
  EXPECT_GT(ink, 50);
  EXPECT_EQ(MissingInk(values, {0, 36, kW, kH}, &ink), 0);
  EXPECT_GT(ink, 300);
  EXPECT_EQ(SetTextAlign(canvas_.dc(), 0), 0u) << "text attributes left as found";

  view_->SetPitch(0);
  PaintAs("detailed-no-pitch");
  Reference idle(L"Courier New", 16, false, TA_LEFT | TA_TOP);
  idle.In({0, 36, kW, kH}, L" Frequency:\n  expected 196.00 dif:\n     sound \n Midi:\n  expected 55 \n     sound ",
          DT_LEFT | DT_TOP);
  EXPECT_EQ(MissingInk(idle, {0, 36, kW, kH}, &ink), 0);
  // The numbers after "dif:" (22 characters of 8 px) and "sound" are gone.
  EXPECT_GT(MissingInk(values, {8 * 22, 52, kW, 68}, &ink), 8);
  EXPECT_GT(MissingInk(values, {8 * 11, 68, 8 * 17, 84}, &ink), 8);
}

// A reading the gauge already shows needs no paint: across a slow drift of
// the pitch, whenever the view says its last paint shows the reading, a
// paint now gives the very same pixels; and the needle's pixel and the
// text's digits do move, and then it says so. No pitch at all is news too.
TEST_F(Pictures, AReadingThatMovesNeitherNeedleNorTextIsShownAlready) {
  WireAsStartUp();
  std::vector<uint32_t> shown(kW * kH), now(kW * kH);
  auto Paint = [&](std::vector<uint32_t> &into) {
    view_->Paint(canvas_.dc(), kW, kH, kClient);
    ASSERT_TRUE(GdiReadPixels(canvas_.bitmap(), into.data(), kW, kH));
  };
  view_->SetPitch(55.0);
  EXPECT_FALSE(view_->GaugeUpToDate()) << "nothing painted yet";
  Paint(shown);
  int same = 0, moved = 0;
  for (int step = 1; step <= 300; ++step) {
    view_->SetPitch(55.0 + step * 0.0002);  // 0.02 cent a reading
    const bool upToDate = view_->GaugeUpToDate();
    Paint(now);
    if (upToDate) {
      ++same;
      ASSERT_EQ(now, shown) << "step " << step << " was said to be shown already";
    } else {
      ++moved;
      EXPECT_NE(now, shown) << "step " << step;
      shown.swap(now);
    }
    EXPECT_TRUE(view_->GaugeUpToDate());
  }
  EXPECT_GT(same, 150);
  EXPECT_GT(moved, 5);
  view_->SetPitch(0);
  EXPECT_FALSE(view_->GaugeUpToDate());
  // A paint of part of the gauge does not count as showing it.
  Paint(shown);
  view_->SetPitch(55.2);
  view_->Paint(canvas_.dc(), kW, kH, RECT{0, 0, 20, 20});
  EXPECT_FALSE(view_->GaugeUpToDate());
}

TEST_F(Pictures, MicrophoneHintAtTheBottom) {
  WireAsStartUp({1, 0, 0, 0});
  PaintAs("mic-hint");
  Reference hint(L"Arial", 16, false, TA_LEFT | TA_TOP);
  const RECT box{10, kH - 48, kW, kH};
  hint.In(box,
          L"If you have no microphone\r\nyou can plug your headphones\r\ninto microphone input. Sometime it works.",
          DT_LEFT | DT_TOP);
  int ink = 0;
  EXPECT_EQ(MissingInk(hint, box, &ink), 0);
  EXPECT_GT(ink, 80);
  EXPECT_EQ(Count(kBlack, {0, kH - 48, 10, kH}), 0) << "clipped to its box";
}

}  // namespace
}  // namespace viewtest
