#include "ViewFixture.h"

#include "app/TimerWiring.h"
#include "app/resources/GuitarResource.h"
#include "kernel/Platform.h"

namespace viewtest {

TestTimers::TestTimers(UninitCaller *root) {
  globals_ = MakeRC<Globals>(kModule);
  defaults_ = CreateTimerService(root, *globals_);
  for (RCPtr<TimerNode> &node : nodes_) node = MakeRC<TimerNode>(root);
}

TestTimers::~TestTimers() {
  for (RCPtr<TimerNode> &node : nodes_) node.Reset();
  defaults_.Reset();
  globals_.Reset();
}

void TestTimers::Wire(ViewBindings &bindings, DrovaneView_H *view) {
  WireViewTimers({nodes_[kInTune].get(), nodes_[kZoom].get(), nodes_[kHighlightOff].get(), nodes_[kHighlightOn].get(),
                  nodes_[kFrames].get()},
                 view, &bindings);
  ViewTimer *const controls[kCount] = {&bindings.inTuneTimer, &bindings.zoomTimer, &bindings.highlightOffTimer,
                                       &bindings.highlightOnTimer, &bindings.frameTimer};
  const char *const names[kCount] = {"inTune", "zoom", "highlightOff", "highlightOn", "frames"};
  for (int i = 0; i < kCount; ++i) {
    logs_[i] = {this, names[i]};
    controls[i]->stop.AddBind(&logs_[i], &Log::Stop);
    controls[i]->start.AddBind(&logs_[i], &Log::Start);
  }
}

void TestTimers::Log::Stop(bool) { owner->calls.push_back(std::string("stop ") + name); }

void TestTimers::Log::Start(unsigned int ms, bool repeating, unsigned int) {
  owner->calls.push_back(std::string("start ") + name + " " + std::to_string(ms) + " " + (repeating ? "1" : "0"));
}

void TestTimers::Advance(long long ms) {
  const platform::Time end = platform::Now() + std::chrono::milliseconds(ms);
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    const platform::Time now = platform::Now();
    if (now >= end) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left), QS_TIMER, 0);
  }
}

ViewTest::ViewTest() : root_(std::make_unique<UninitCaller>()), timers_(root_.get()), gdiBefore_(GdiLiveObjectCount()) {
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
  b.repaintRect.Bind(&outside_, &Outside::RepaintRect);
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
  outside_.rectRepaints = 0;
  outside_.notes.clear();
  timers_.calls.clear();
  record_.Clear();
}

}  // namespace viewtest
