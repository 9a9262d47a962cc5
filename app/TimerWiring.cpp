#include "TimerWiring.h"

#include "StartupAdapters.h"

namespace {

void Wire(TimerNode *node, void (DrovaneView_H::*handler)(), DrovaneView_H *view, ViewTimer *control) {
  node->SetHandler(MakeDelegate<void()>(view, handler));
  control->stop.BindS(&StopTimerNode, node);
  control->start.BindS(&StartTimerNode, node);
}

}  // namespace

RCPtr<TimerDefault_Manager> CreateTimerService(UninitCaller *root, Globals &globals) {
  globals.timerManager = MakeRC<TimerWM_Manager>(root, &StaticTimerProc);
  return MakeRC<TimerDefault_Manager>(root, MakeDelegate<void(RCPtr<TimerDefault_Manager::Calls> *)>(
                                                globals.timerManager.get(), &TimerWM_Manager::CreateTimerCallsFn));
}

void WireViewTimers(const ViewTimerNodes &nodes, DrovaneView_H *view, ViewBindings *bindings) {
  Wire(nodes.inTune, &DrovaneView_H::OnInTuneTimer, view, &bindings->inTuneTimer);
  Wire(nodes.zoom, &DrovaneView_H::OnZoomTimer, view, &bindings->zoomTimer);
  Wire(nodes.highlightOff, &DrovaneView_H::OnHighlightOffTimer, view, &bindings->highlightOffTimer);
  Wire(nodes.highlightOn, &DrovaneView_H::HN_Do_Highlight_Start, view, &bindings->highlightOnTimer);
  Wire(nodes.frames, &DrovaneView_H::OnFrameTimer, view, &bindings->frameTimer);
}
