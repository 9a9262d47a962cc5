// Pointer input on the guitar panel: the view's hit test, its two tools and
// the dispatch that hands events to them.
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "hostpaint/Tool_PlayNoteGuitar.h"
#include "hostpaint/Tool_SelectNoteGuitar.h"

namespace viewtest {
namespace {

using Strings = std::vector<std::string>;

class Pointer : public ViewTest {
 protected:
  void SetUp() override { WireAsStartUp({0, 0, 0, 1}); }  // panel at x 160..240
  // A point in the middle of string i's bar.
  POINT OnBar(int i) const { return {200, (view_->Panel().BarTop(i) + view_->Panel().BarBottom(i)) / 2}; }
  void Press(POINT p) { view_->OnPointerDown(p.x, p.y, 1); }
  void Release(POINT p) { view_->OnPointerUp(p.x, p.y, 0); }
  void Move(POINT p) { view_->Dispatch(MouseTool::kMove, p.x, p.y, 1); }
  Tool_SelectNoteGuitar &Selector() const { return dynamic_cast<Tool_SelectNoteGuitar &>(*view_->Tools()[1]); }
};

TEST_F(Pointer, BarsIncludeTheirBorderRowsAndTheLowerIndexWins) {
  const GuitarPanel &panel = view_->Panel();
  double note = 0;
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(view_->HitTest(160, panel.BarTop(i), &note));
    EXPECT_EQ(note, kStringNotes[i]);
    EXPECT_TRUE(view_->HitTest(240, panel.BarBottom(i), &note));
    EXPECT_EQ(note, kStringNotes[i]);
    EXPECT_FALSE(view_->HitTest(200, panel.BarTop(i) - 1, &note));
  }
  EXPECT_FALSE(view_->HitTest(159, OnBar(0).y, &note));
  // A short panel makes neighbouring bars overlap.
  view_->SetClientSize(240, 40);  // bar 0: 5..17, bar 1: 9..21
  ASSERT_GE(panel.BarBottom(0), panel.BarTop(1));
  EXPECT_TRUE(view_->HitTest(200, panel.BarTop(1), &note));
  EXPECT_EQ(note, 40);
}

TEST_F(Pointer, WithTheGuitarHiddenNoPointInTheWindowIsOnABar) {
  view_->SetOptions(Off());
  view_->SetClientSize(240, 270);
  double note = 0;
  for (int y = 0; y < 270; ++y)
    for (int x = 0; x < 240; ++x) ASSERT_FALSE(view_->HitTest(x, y, &note)) << x << "," << y;
  Press(OnBar(1));
  Release(OnBar(1));
  EXPECT_TRUE(outside_.reported.empty());
  EXPECT_TRUE(outside_.notes.empty());
}

TEST_F(Pointer, ATapOnABarSelectsItsStringAndPlaysItOnce) {
  Press(OnBar(1));
  EXPECT_TRUE(Selector().Pressed());
  EXPECT_TRUE(outside_.reported.empty()) << "the press only arms the tool";
  EXPECT_TRUE(outside_.notes.empty());
  Release(OnBar(1));
  EXPECT_FALSE(Selector().Pressed());
  EXPECT_EQ(view_->Note(), 45);
  // The report reaches the view's own selection first, which reports again.
  EXPECT_EQ(outside_.reported, (std::vector<int>{45, 45}));
  EXPECT_EQ(outside_.notes, Strings{"on 45 127"});
}

TEST_F(Pointer, TappingTheSameBarTwiceReportsTwiceButPlaysOnce) {
  for (int tap = 0; tap < 2; ++tap) {
    Press(OnBar(2));
    Release(OnBar(2));
  }
  EXPECT_EQ(outside_.reported, (std::vector<int>{50, 50, 50}));  // changed once, reported on each tap
  EXPECT_EQ(outside_.notes, Strings{"on 50 127"});
  Press(OnBar(0));
  Release(OnBar(0));
  EXPECT_EQ(outside_.notes, (Strings{"on 50 127", "off 50", "on 40 127"}));
}

TEST_F(Pointer, PressOutsideTheBarsOrReleaseElsewhereDoesNothing) {
  Press({200, 5});
  Release({200, 5});
  Press({50, 100});  // over the gauge
  Release(OnBar(1));
  Press(OnBar(1));
  Release(OnBar(3));  // slid to another string before letting go
  EXPECT_TRUE(outside_.reported.empty());
  EXPECT_TRUE(outside_.notes.empty());
  EXPECT_EQ(view_->Note(), 55);
}

TEST_F(Pointer, MovingOffThePressedBarOrCancellingEndsThePress) {
  Press(OnBar(4));
  Move(OnBar(4));  // still on it
  EXPECT_TRUE(Selector().Pressed());
  Move(OnBar(5));
  EXPECT_FALSE(Selector().Pressed());
  Release(OnBar(4));
  EXPECT_TRUE(outside_.reported.empty());
  Press(OnBar(4));
  Selector().Cancel();
  EXPECT_FALSE(Selector().Pressed());
  Release(OnBar(4));
  EXPECT_TRUE(outside_.reported.empty());
}

TEST_F(Pointer, PreviewShowsANoteUntilRestoredOrTapped) {
  view_->PreviewNote(45);
  EXPECT_EQ(view_->Note(), 45);
  EXPECT_TRUE(view_->TempSelect());
  view_->RestoreNote();
  EXPECT_EQ(view_->Note(), 55);
  EXPECT_FALSE(view_->TempSelect());
  view_->PreviewNote(40);
  ClearLog();
  view_->PlayTapped(50);  // the saved G comes back first, then D is reported and played
  EXPECT_EQ(outside_.reported, (std::vector<int>{55, 50, 50}));
  EXPECT_EQ(view_->Note(), 50);
  EXPECT_EQ(outside_.notes, Strings{"on 50 127"});
  ClearLog();
  view_->RestoreNote();  // nothing temporary any more
  EXPECT_TRUE(outside_.reported.empty());
}

TEST_F(Pointer, DraggingOverTheBarsSoundsTheStringUnderThePointer) {
  const auto *player = dynamic_cast<Tool_PlayNoteGuitar *>(view_->Tools()[0].get());
  ASSERT_NE(player, nullptr) << "the dragging player is the first tool";
  Move(OnBar(1));
  Move(OnBar(1));
  Move({200, 5});  // off every bar
  EXPECT_FALSE(player->Player()->IsSounding());
  Move({200, 5});
  Move(OnBar(1));
  Move(OnBar(3));
  EXPECT_EQ(outside_.notes, (Strings{"on 45 127", "off 45", "on 45 127", "off 45", "on 55 127"}));
  EXPECT_TRUE(outside_.reported.empty()) << "dragging selects nothing";
}

// A tool that records what it sees and captures from a press to a release.
class Recorder : public MouseTool {
 public:
  Recorder(std::vector<std::string> *log, const char *name, bool captures)
      : log_(log), name_(name), captures_(captures) {}
  void OnEvent(int event, int, int, unsigned) override {
    log_->push_back(name_ + std::to_string(event));
    if (captures_ && event == kPress) capturing_ = true;
    if (event == kRelease) capturing_ = false;
  }
  bool IsCapturing() override { return capturing_; }

 private:
  std::vector<std::string> *log_;
  std::string name_;
  bool captures_;
  bool capturing_ = false;
};

class Handler : public MouseTool_Handler {};

TEST(ToolDispatch, ACapturingToolGetsEventsAloneAndNoToolSeesOneTwice) {
  std::vector<std::string> log;
  Handler handler;
  handler.AddTool(MakeRC<Recorder>(&log, "a", false));
  handler.AddTool(MakeRC<Recorder>(&log, "b", true));
  handler.AddTool(MakeRC<Recorder>(&log, "c", false));
  handler.Dispatch(MouseTool::kMove, 0, 0, 0);
  EXPECT_EQ(log, (Strings{"a4", "b4", "c4"}));
  log.clear();
  handler.Dispatch(MouseTool::kPress, 0, 0, 0);  // b starts capturing: c does not see the press
  EXPECT_EQ(log, (Strings{"a2", "b2"}));
  EXPECT_TRUE(handler.Active());
  log.clear();
  handler.Dispatch(MouseTool::kMove, 0, 0, 0);
  EXPECT_EQ(log, Strings{"b4"});
  log.clear();
  handler.Dispatch(MouseTool::kRelease, 0, 0, 0);  // b lets go: the others get the release
  EXPECT_EQ(log, (Strings{"b3", "a3", "c3"}));
  EXPECT_FALSE(handler.Active());
  handler.ReleaseTools();
  EXPECT_TRUE(handler.Tools().empty());
}

}  // namespace
}  // namespace viewtest
