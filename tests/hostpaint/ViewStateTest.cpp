// The view's selection, pitch, layout and gauge geometry, without pictures.
#include <cmath>

#include "ViewFixture.h"
#include "general/CheckRecord.h"

namespace viewtest {
namespace {

using State = ViewTest;
using Notes = std::vector<int>;

void ExpectCheck(ScopedAssertionRecord &record, const CheckSite &site) {
  EXPECT_EQ(LastCheck(record), Text(site));
  record.Clear();
}

TEST_F(State, SelectionByIndexOrByNoteRefusesWhatNoStringHas) {
  WireAsStartUp();
  const int three[] = {1, 2, 3}, ten[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  view_->SetStringNotes(three);
  ExpectCheck(record_, CheckSites::kStringCountRefused);
  view_->SetStringNotes(ten);
  ExpectCheck(record_, CheckSites::kStringCountRefused);
  EXPECT_EQ(view_->Panel().notes[0], 40);
  EXPECT_EQ(outside_.repaints, 0);
  view_->SetStringSelectIndex(0);
  EXPECT_EQ(view_->Note(), 40);
  EXPECT_EQ(outside_.reported, Notes{40});
  EXPECT_EQ(outside_.repaints, 1);
  for (int bad : {-1, 6}) {
    view_->SetStringSelectIndex(bad);
    ExpectCheck(record_, CheckSites::kStringIndexOutOfRange);
  }
  view_->SetStringSelect(56);
  ExpectCheck(record_, CheckSites::kNoteOfNoString);
  EXPECT_EQ(view_->Note(), 40);
  EXPECT_TRUE(view_->Panel().selected[0]);
  EXPECT_EQ(outside_.reported, Notes{40});
  const int six[] = {41, 46, 51, 56, 60, 65};
  view_->SetStringNotes(six);
  EXPECT_EQ(view_->Panel().notes[5], 65);
  EXPECT_EQ(outside_.repaints, 2);
}

TEST_F(State, SameNoteReportsOnceUnlessATemporarySelectionIsInForce) {
  WireAsStartUp();
  view_->SetStringSelect(45);
  view_->SetStringSelect(45);
  EXPECT_EQ(outside_.reported, Notes{45});
  EXPECT_EQ(outside_.repaints, 1);
  view_->PreviewNote(45);  // saves 45, selects 45 (unchanged), then marks the selection temporary
  EXPECT_TRUE(view_->TempSelect());
  view_->SetStringSelect(45);
  EXPECT_EQ(outside_.reported, (Notes{45, 45}));
  EXPECT_FALSE(view_->TempSelect());
  view_->SetStringSelect(45);
  EXPECT_EQ(outside_.reported.size(), 2u);
}

TEST_F(State, PitchSelectsTheNearestNoteAndZeroKeepsTheLastPitch) {
  WireAsStartUp();
  view_->SetPitch(44.5);  // floor(45.0)
  view_->SetPitch(45.49);
  EXPECT_EQ(view_->Note(), 45);
  EXPECT_TRUE(view_->Gauge().valid);
  view_->SetPitch(61.2);  // no string has 61: nothing selected
  EXPECT_EQ(outside_.reported, (Notes{45, 61}));
  int note = -7;
  view_->GetStringSelect(&note);
  ExpectCheck(record_, CheckSites::kNoStringSelected);
  EXPECT_EQ(note, -7);
  view_->SetPitch(0);
  EXPECT_FALSE(view_->Gauge().valid);
  EXPECT_EQ(view_->Pitch(), 61.2);
  EXPECT_EQ(view_->Note(), 61);
}

TEST_F(State, LayoutGivesTheGuitarTheRightThirdOrNothing) {
  WireAsStartUp({0, 0, 0, 1});
  const struct {
    int w, h;
    bool guitar;
    RECT gauge, panel;
  } cases[] = {{240, 270, true, {0, 0, 160, 270}, {160, 0, 240, 270}},
               {100, 50, true, {0, 0, 66, 50}, {66, 0, 100, 50}},  // 66.67 truncated
               {240, 270, false, {0, 0, 240, 270}, {240, 0, 240, 270}}};
  for (const auto &c : cases) {
    view_->SetOptions({false, false, false, c.guitar});
    view_->SetClientSize(c.w, c.h);
    EXPECT_EQ(view_->GaugeRect(), c.gauge) << c.w << " guitar " << c.guitar;
    EXPECT_EQ(view_->Panel().rect, c.panel) << c.w << " guitar " << c.guitar;
  }
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
  const struct {
    int w, h;
    double halfSpan;
  } cases[] = {{60, 271, 1.3962634},                     // W = 50 < half = 135.5
               {110, 200, 1.3962634},                    // W = 100 = half: asin(1) is capped too
               {130, 200, std::asin(100.0 / 120.0)},     // W = 120
               {5, 0, 0}};                               // no room at all: no angle, no crash
  for (const auto &c : cases) {
    view_->SetClientSize(c.w, c.h);
    EXPECT_DOUBLE_EQ(g.HalfSpan(), c.halfSpan) << c.w << " x " << c.h;
  }
  view_->SetClientSize(60, 271);
  EXPECT_EQ(g.Pivot().y, 136);  // nearest(135.5)
}

TEST_F(State, DirectionWordFollowsTheZoneEdgesInclusively) {
  WireAsStartUp();
  gditest::Canvas canvas(240, 270);
  // Around note 0 the deviation is the pitch itself, so the edges are exact.
  const struct {
    double pitch;
    const wchar_t *word;
  } cases[] = {{0.03, L"Ok"}, {0.0300001, L"Down"}, {-0.03, L"Ok"}, {-0.0300001, L"Up"}, {0.49, L"Down"}};
  for (const auto &c : cases) {
    view_->SetPitch(c.pitch);
    view_->Paint(canvas.dc(), 240, 270, RECT{0, 0, 240, 270});
    ASSERT_EQ(view_->Note(), 0);
    EXPECT_STREQ(view_->Gauge().Direction(), c.word) << c.pitch;
  }
  view_->SetPitch(0);
  EXPECT_EQ(view_->Gauge().Direction(), nullptr);
}

}  // namespace
}  // namespace viewtest
