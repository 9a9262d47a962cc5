#include "ViewFixture.h"

#include <algorithm>

#include "resources/GuitarResource.h"

namespace viewtest {

void TestTimers::Wire(ViewBindings &bindings, DrovaneView_H *view) {
  struct Entry {
    Which which;
    const char *name;
    ViewTimer *control;
    void (DrovaneView_H::*handler)();
  };
  const Entry entries[] = {
      {kInTune, "inTune", &bindings.inTuneTimer, &DrovaneView_H::OnInTuneTimer},
      {kZoom, "zoom", &bindings.zoomTimer, &DrovaneView_H::OnZoomTimer},
      {kHighlightOff, "highlightOff", &bindings.highlightOffTimer, &DrovaneView_H::OnHighlightOffTimer},
      {kHighlightOn, "highlightOn", &bindings.highlightOnTimer, &DrovaneView_H::HN_Do_Highlight_Start}};
  for (const Entry &e : entries) {
    Timer &t = timers_[e.which];
    t.owner = this;
    t.name = e.name;
    t.handler.Clear();
    t.handler.Bind(view, e.handler);
    e.control->stop.Bind(&t, &Timer::Stop);
    e.control->start.Bind(&t, &Timer::Start);
  }
}

void TestTimers::Timer::Stop(bool) {
  owner->calls.push_back(std::string("stop ") + name);
  running = false;
}

void TestTimers::Timer::Start(unsigned int ms, bool repeating, unsigned int) {
  owner->calls.push_back(std::string("start ") + name + " " + std::to_string(ms) + " " + (repeating ? "1" : "0"));
  running = true;
  repeat = repeating;
  period = ms;
  due = owner->now_ + ms;
}

void TestTimers::Advance(long long ms) {
  const long long end = now_ + ms;
  for (;;) {
    Timer *next = nullptr;
    for (Timer &t : timers_)
      if (t.running && t.due <= end && (!next || t.due < next->due)) next = &t;
    if (!next) break;
    now_ = next->due;
    if (next->repeat)
      next->due += next->period;
    else
      next->running = false;
    next->handler();
  }
  now_ = end;
}

ViewTest::ViewTest() : root_(std::make_unique<UninitCaller>()), gdiBefore_(GdiLiveObjectCount()) {
  RegisterGuitarBitmap(kModule);
  view_ = MakeRC<DrovaneView_H>(root_.get(), kModule);
}

ViewTest::~ViewTest() {
  view_.Reset();
  root_.reset();
  EXPECT_EQ(GdiLiveObjectCount(), gdiBefore_) << "drawing objects left behind";
}

void ViewTest::WireAsStartUp(const DrovaneView_H::DisplayOptions &options) {
  ViewBindings b;
  b.repaint.Bind(&outside_, &Outside::Repaint);
  b.noteSelected.Bind(view_, &DrovaneView_H::SelectNote);
  b.noteSelected.AddBind(&outside_, &Outside::Report);
  b.setReference.Bind(&outside_, &Outside::SetReference);
  b.getReference.Bind(&outside_, &Outside::GetReference);
  b.getClientRect.Bind(&outside_, &Outside::GetClientRect);
  b.player.noteOn.Bind(&outside_, &Outside::NoteOn);
  b.player.noteOff.Bind(&outside_, &Outside::NoteOff);
  timers_.Wire(b, view_.get());
  view_->SetBindings(b);
  view_->SetStringNotes(kStringNotes);
  view_->SetStringSelect(55);
  view_->SetOptions(options);
  view_->SetClientSize(240, 270);
  ClearLog();
}

void ViewTest::ClearLog() {
  outside_.reported.clear();
  outside_.repaints = 0;
  outside_.notes.clear();
  timers_.calls.clear();
  record_.Clear();
}

}  // namespace viewtest
