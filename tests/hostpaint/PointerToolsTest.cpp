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
using Notes = std::vector<int>;

class Pointer : public ViewTest {
 protected:
  void SetUp() override { WireAsStartUp({0, 0, 0, 1}); }  // panel at x 160..240
  // A point in the middle of string i's bar.
  POINT OnBar(int i) const { return {200, (view_->Panel().BarTop(i) + view_->Panel().BarBottom(i)) / 2}; }
  void Tap(POINT press, POINT release) {
    view_->OnPointerDown(press.x, press.y, 1);
    view_->OnPointerUp(release.x, release.y, 0);
  }
  void Move(POINT p) { view_->Dispatch(MouseTool::kMove, p.x, p.y, 1); }
  Tool_SelectNoteGuitar &Selector() const { return dynamic_cast<Tool_SelectNoteGuitar &>(*view_->Tools()[1]); }
};

TEST_F(Pointer, BarsIncludeTheirBorderRowsAndTheLowerIndexWins) {
  const GuitarPanel &panel = view_->Panel();
  double note = 0;
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(view_->HitTest(160, panel.BarTop(i), &note) && note == kStringNotes[i]) << i;
    EXPECT_TRUE(view_->HitTest(240, panel.BarBottom(i), &note) && note == kStringNotes[i]) << i;
    EXPECT_FALSE(view_->HitTest(200, panel.BarTop(i) - 1, &note)) << i;
  }
  EXPECT_FALSE(view_->HitTest(159, OnBar(0).y, &note));
  view_->SetClientSize(240, 40);  // a short panel: bar 0 is 5..17, bar 1 9..21
  ASSERT_GE(panel.BarBottom(0), panel.BarTop(1));
  EXPECT_TRUE(view_->HitTest(200, panel.BarTop(1), &note));
  EXPECT_EQ(note, 40);
  view_->SetOptions(Off());  // with the guitar hidden no point is on a bar
  view_->SetClientSize(240, 270);
  for (int y = 0; y < 270; ++y)
    for (int x = 160; x < 240; ++x) ASSERT_FALSE(view_->HitTest(x, y, &note)) << x << "," << y;
}

TEST_F(Pointer, PressArmsAndReleaseOnTheSameBarSelectsAndPlaysOnce) {
  view_->OnPointerDown(OnBar(2).x, OnBar(2).y, 1);
  EXPECT_TRUE(Selector().Pressed());
  EXPECT_TRUE(outside_.reported.empty() && outside_.notes.empty()) << "the press only arms the tool";
  view_->OnPointerUp(OnBar(2).x, OnBar(2).y, 0);
  EXPECT_FALSE(Selector().Pressed());
  EXPECT_EQ(view_->Note(), 50);
  // The report reaches the view's own selection first, which reports again.
  EXPECT_EQ(outside_.reported, (Notes{50, 50}));
  Tap(OnBar(2), OnBar(2));  // unchanged: reported again, not played again
  EXPECT_EQ(outside_.reported, (Notes{50, 50, 50}));
  EXPECT_EQ(outside_.notes, Strings{"on 50 127"});
  Tap(OnBar(0), OnBar(0));
  EXPECT_EQ(outside_.notes, (Strings{"on 50 127", "off 50", "on 40 127"}));
}

TEST_F(Pointer, NoTapWithoutPressAndReleaseOnOneBar) {
  Tap({200, 5}, {200, 5});   // above the bars
  Tap({50, 100}, OnBar(1));  // pressed over the gauge
  Tap(OnBar(1), OnBar(3));   // slid to another string before letting go
  EXPECT_TRUE(outside_.notes.empty());
  view_->OnPointerDown(OnBar(4).x, OnBar(4).y, 1);
  Move(OnBar(4));  // still on it
  EXPECT_TRUE(Selector().Pressed());
  Move(OnBar(5));
  EXPECT_FALSE(Selector().Pressed());
  view_->OnPointerUp(OnBar(4).x, OnBar(4).y, 0);
  view_->OnPointerDown(OnBar(4).x, OnBar(4).y, 1);
  Selector().Cancel();
  view_->OnPointerUp(OnBar(4).x, OnBar(4).y, 0);
  EXPECT_TRUE(outside_.reported.empty());
  EXPECT_EQ(view_->Note(), 55);
}

TEST_F(Pointer, ReleaseOverTheGaugeTapsItOnlyWhenBound) {
  view_->OnPointerUp(100, 100, 0);
  EXPECT_FALSE(record_.Raised());
  ViewBindings b;
  b.getClientRect.Bind(&outside_, &Outside::GetClientRect);
  b.gaugeTap.Bind(&outside_, &Outside::GaugeTap);
  view_->SetBindings(b);
  view_->OnPointerUp(159, 10, 0);
  view_->OnPointerUp(160, 10, 0);  // 160 is not < 240 × 2/3
  EXPECT_EQ(outside_.gaugeTaps, 1);
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
  Recorder(Strings *log, const char *name, bool captures) : log_(log), name_(name), captures_(captures) {}
  void OnEvent(int event, int, int, unsigned) override {
    log_->push_back(name_ + std::to_string(event));
    capturing_ = event == kPress ? captures_ : event == kRelease ? false : capturing_;
  }
  bool IsCapturing() override { return capturing_; }

 private:
  Strings *log_;
  std::string name_;
  bool captures_, capturing_ = false;
};

class Handler : public MouseTool_Handler {};

TEST(ToolDispatch, ACapturingToolGetsEventsAloneAndNoToolSeesOneTwice) {
  Strings log;
  Handler handler;
  for (const char *name : {"a", "b", "c"}) handler.AddTool(MakeRC<Recorder>(&log, name, name[0] == 'b'));
  const struct {
    int event;
    Strings seen;
    bool active;
  } steps[] = {{MouseTool::kMove, {"a4", "b4", "c4"}, false},
               {MouseTool::kPress, {"a2", "b2"}, true},  // b starts capturing: c does not see the press
               {MouseTool::kMove, {"b4"}, true},
               {MouseTool::kRelease, {"b3", "a3", "c3"}, false}};  // b lets go: the others get the release
  for (const auto &step : steps) {
    log.clear();
    handler.Dispatch(step.event, 0, 0, 0);
    EXPECT_EQ(log, step.seen) << step.event;
    EXPECT_EQ(handler.Active().get() != nullptr, step.active) << step.event;
  }
  handler.ReleaseTools();
  EXPECT_TRUE(handler.Tools().empty());
}

}  // namespace
}  // namespace viewtest
