// The view's selection, pitch, layout and gauge geometry, without pictures.
#include <cmath>
#include <cstring>

#include "ViewFixture.h"

namespace viewtest {
namespace {

using State = ViewTest;

void ExpectCheck(const ScopedAssertionRecord &record, int line, const char *function) {
  ASSERT_TRUE(record.Raised());
  EXPECT_STREQ(record->file, "DrovaneView_H");
  EXPECT_EQ(record->line, line);
  EXPECT_STREQ(record->function, function);
}

TEST_F(State, StringNotesNeedExactlySix) {
  WireAsStartUp();
  const int five[] = {1, 2, 3, 4, 5};
  view_->SetStringNotes(five);
  ExpectCheck(record_, 366, "DrovaneView_H::SetStringNotes");
  EXPECT_EQ(view_->Panel().notes[0], 40);
  EXPECT_EQ(outside_.repaints, 0);
  const int six[] = {41, 46, 51, 56, 60, 65};
  view_->SetStringNotes(six);
  EXPECT_EQ(view_->Panel().notes[5], 65);
  EXPECT_EQ(outside_.repaints, 1);
}

TEST_F(State, SelectionByIndexAndByNote) {
  WireAsStartUp();
  EXPECT_EQ(view_->Note(), 55);
  view_->SetStringSelectIndex(0);
  EXPECT_EQ(view_->Note(), 40);
  EXPECT_EQ(outside_.reported, std::vector<int>{40});
  EXPECT_EQ(outside_.repaints, 1);
  for (int bad : {-1, 6}) {
    record_.Clear();
    view_->SetStringSelectIndex(bad);
    ExpectCheck(record_, 268, "DrovaneView_H::SetStringSelectIndex");
  }
  record_.Clear();
  view_->SetStringSelect(56);  // no string has it
  ExpectCheck(record_, 283, "DrovaneView_H::SetStringSelect");
  EXPECT_EQ(view_->Note(), 40);
  EXPECT_EQ(view_->Panel().selected[0], 1);
  EXPECT_EQ(outside_.reported, std::vector<int>{40});
}

TEST_F(State, SameNoteReportsOnceUnlessATemporarySelectionIsInForce) {
  WireAsStartUp();
  view_->SetStringSelect(45);
  view_->SetStringSelect(45);
  EXPECT_EQ(outside_.reported, std::vector<int>{45});
  EXPECT_EQ(outside_.repaints, 1);
  view_->PreviewNote(45);  // saves 45, selects 45 (unchanged), then marks the selection temporary
  EXPECT_TRUE(view_->TempSelect());
  view_->SetStringSelect(45);
  EXPECT_EQ(outside_.reported, (std::vector<int>{45, 45}));
  EXPECT_FALSE(view_->TempSelect());
  view_->SetStringSelect(45);
  EXPECT_EQ(outside_.reported.size(), 2u);
}

TEST_F(State, PitchSelectsTheNearestNoteAndZeroKeepsTheLastPitch) {
  WireAsStartUp();
  view_->SetPitch(44.5);  // floor(45.0)
  EXPECT_EQ(view_->Note(), 45);
  view_->SetPitch(45.49);
  EXPECT_EQ(view_->Note(), 45);
  EXPECT_EQ(view_->Gauge().valid, 1);
  view_->SetPitch(61.2);  // no string has 61: nothing selected
  EXPECT_EQ(view_->Note(), 61);
  EXPECT_EQ(outside_.reported, (std::vector<int>{45, 61}));
  int note = -7;
  record_.Clear();
  view_->GetStringSelect(&note);
  ExpectCheck(record_, 327, "DrovaneView_H::GetStringSelect");
  EXPECT_EQ(note, -7);
  view_->SetPitch(0);
  EXPECT_EQ(view_->Gauge().valid, 0);
  EXPECT_EQ(view_->Pitch(), 61.2);
  EXPECT_EQ(view_->Note(), 61);
}

TEST_F(State, LayoutGivesTheGuitarTheRightThirdOrNothing) {
  WireAsStartUp({0, 0, 0, 1});
  EXPECT_EQ(view_->GaugeRect(), (RECT{0, 0, 160, 270}));
  EXPECT_EQ(view_->Panel().rect, (RECT{160, 0, 240, 270}));
  view_->SetClientSize(100, 50);  // 66.67 truncated
  EXPECT_EQ(view_->GaugeRect(), (RECT{0, 0, 66, 50}));
  EXPECT_EQ(view_->Panel().rect, (RECT{66, 0, 100, 50}));
  view_->SetOptions(Off());
  view_->SetClientSize(240, 270);
  EXPECT_EQ(view_->GaugeRect(), (RECT{0, 0, 240, 270}));
  EXPECT_EQ(view_->Panel().rect, (RECT{240, 0, 240, 270}));
}

TEST_F(State, GaugeGeometryAndTheEightyDegreeCap) {
  WireAsStartUp();
  const DeviationGauge &g = view_->Gauge();
  const double theta = std::asin(135.0 / 230.0);
  EXPECT_DOUBLE_EQ(g.HalfSpan(), theta);
  EXPECT_EQ(g.Pivot().y, 135);
  const POINT top = g.PointFor(0.5), bottom = g.PointFor(-0.5);  // sharp points up
  EXPECT_EQ(top.x, static_cast<int>(std::floor(230 * std::cos(theta) + 0.5)));
  EXPECT_EQ(top.y, static_cast<int>(std::floor(135 - 230 * std::sin(theta) + 0.5)));
  EXPECT_EQ(bottom.y, 270 - top.y);
  view_->SetClientSize(60, 271);  // W = 50, half = 135.5 ≥ W
  EXPECT_EQ(g.HalfSpan(), 1.3962634);
  EXPECT_EQ(g.Pivot().y, 136);     // nearest(135.5)
  view_->SetClientSize(110, 200);  // W = 100 = half: asin(1) is capped too
  EXPECT_EQ(g.HalfSpan(), 1.3962634);
  view_->SetClientSize(130, 200);  // W = 120
  EXPECT_DOUBLE_EQ(g.HalfSpan(), std::asin(100.0 / 120.0));
  view_->SetClientSize(5, 0);  // no room at all: no angle, no crash
  EXPECT_EQ(g.HalfSpan(), 0);
}

TEST_F(State, DirectionWordFollowsTheZoneEdgesInclusively) {
  WireAsStartUp();
  HDC dc = CreateCompatibleDC(nullptr);
  struct Case {
    double pitch;
    const wchar_t *word;
  };
  // Around note 0 the deviation is the pitch itself, so the edges are exact.
  const Case cases[] = {{0.03, L"Ok"},       {0.0300001, L"Down"}, {-0.03, L"Ok"},
                        {-0.0300001, L"Up"}, {0.49, L"Down"},      {-0.2, L"Up"}};
  for (const Case &c : cases) {
    view_->SetPitch(c.pitch);
    view_->Paint(dc, 240, 270, RECT{0, 0, 240, 270});
    ASSERT_EQ(view_->Note(), 0);
    EXPECT_STREQ(view_->Gauge().Direction(), c.word) << c.pitch;
  }
  view_->SetPitch(0);
  EXPECT_EQ(view_->Gauge().Direction(), nullptr);
  DeleteDC(dc);
}

TEST_F(State, PointerUpOverTheGaugeTapsOnlyWhenBound) {
  WireAsStartUp();
  view_->OnPointerUp(100, 100, 0);  // gaugeTap unbound: nothing
  EXPECT_FALSE(record_.Raised());
  ViewBindings b;
  b.getClientRect.Bind(&outside_, &Outside::GetClientRect);
  b.gaugeTap.Bind(&outside_, &Outside::GaugeTap);
  view_->SetBindings(b);
  view_->OnPointerUp(159, 10, 0);
  EXPECT_EQ(outside_.gaugeTaps, 1);
  view_->OnPointerUp(160, 10, 0);  // 160 is not < 240 × 2/3
  EXPECT_EQ(outside_.gaugeTaps, 1);
}

TEST_F(State, DrawingObjectsAreMadeOnceAndDeletedOnce) {
  const std::size_t withView = GdiLiveObjectCount();
  // 7 fonts, 5 pens, 3 brushes, and the picture's bitmap and memory DC.
  EXPECT_EQ(withView - gdiBefore_, 17u);
  WireAsStartUp({1, 1, 1, 1});
  gditest::Canvas canvas(240, 270);
  for (int i = 0; i < 3; ++i) view_->Paint(canvas.dc(), 240, 270, RECT{0, 0, 240, 270});
  EXPECT_EQ(GdiLiveObjectCount(), withView + 2);  // only the canvas
  view_.Reset();
  root_.reset();
  EXPECT_EQ(GdiLiveObjectCount(), gdiBefore_ + 2);
  EXPECT_FALSE(record_.Raised()) << record_->function;
}

}  // namespace
}  // namespace viewtest
