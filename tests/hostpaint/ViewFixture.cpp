#include "ViewFixture.h"

#include "kernel/Platform.h"
#include "app/resources/GuitarResource.h"

namespace viewtest {

TimerWM_Manager *TestTimers::current_ = nullptr;

TestTimers::TestTimers(UninitCaller *root) {
  platform::Reset(platform::ClockKind::Virtual);
  manager_ = MakeRC<TimerWM_Manager>(root, &TestTimers::StaticTimerProc);
  current_ = manager_.get();
  defaults_ = MakeRC<TimerDefault_Manager>(root, MakeDelegate<void(RCPtr<TimerDefault_Manager::Calls> *)>(
                                                     manager_.get(), &TimerWM_Manager::CreateTimerCallsFn));
  for (Probe &probe : probes_) {
    probe.owner = this;
    probe.node = MakeRC<TimerNode>(root);
  }
}

TestTimers::~TestTimers() {
  for (Probe &probe : probes_) probe.node.Reset();
  defaults_.Reset();
  manager_.Reset();
  current_ = nullptr;
  platform::Reset(platform::ClockKind::Real);
}

void CALLBACK TestTimers::StaticTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  if (current_) current_->OnTimer(static_cast<unsigned int>(id));
}

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
    Probe &probe = probes_[e.which];
    probe.name = e.name;
    probe.node->SetHandler(MakeDelegate<void()>(view, e.handler));
    e.control->stop.Bind(&probe, &Probe::Stop);
    e.control->start.Bind(&probe, &Probe::Start);
  }
}

void TestTimers::Probe::Stop(bool) {
  owner->calls.push_back(std::string("stop ") + name);
  node->StopTimer();
}

void TestTimers::Probe::Start(unsigned int ms, bool repeating, unsigned int) {
  owner->calls.push_back(std::string("start ") + name + " " + std::to_string(ms) + " " + (repeating ? "1" : "0"));
  node->Start(ms, repeating);
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

ViewTest::ViewTest() : root_(std::make_unique<UninitCaller>()), gdiBefore_(GdiLiveObjectCount()), timers_(root_.get()) {
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
