#include "RunApplication.h"

#include <cstdio>

#include "BackKeyHook.h"
#include "DeviceWiring.h"
#include "DrovaneMobInfo.h"
#include "MainWndProc.h"
#include "ShowMessage.h"
#include "StartupAdapters.h"
#include "StartupObjects.h"
#include "TimerWiring.h"
#include "measure/GuitarFactory.h"

namespace {

constexpr wchar_t kClassName[] = L"QUORLA-wnd";
constexpr int kStartString = 3;  // the fourth string: G3 in the standard tuning, as on the phone

// The measurer factory over one configuration: the phone's guitar measurer,
// or the fine one when the tuner was asked to read precisely or a string
// lies below the phone's reach.
RCPtr<IMeasurerFactory> CreateMeasurerFactory(RCPtr<Measure::GuitarConfigurator> *configurator, bool precise,
                                              const Measure::Tuning &tuning) {
  RCPtr<Measure3::GuitarFactory> factory = MakeRC<Measure3::GuitarFactory>(configurator);
  if (precise) factory->SetRefinement(Measure::Refinement::kPrecise);
  factory->SetStrings(tuning.notes);
  return factory;
}

// The strum check reads against the A of the pipeline's measurer, which the
// keys and calibration move, and shows its readings on the view.
RCPtr<ProcessStrum_H> CreateStrumCheck(StartupObjects &o, const Measure::NoteTargets &targets) {
  return MakeRC<ProcessStrum_H>(o.Root(), targets,
                                MakeDelegate<double()>(o.pipeline.get(), &ProcessMeasure_H::GetReferenceFrequency),
                                MakeDelegate<void(const Strum::StrumReading &)>(o.globals->view.get(),
                                                                                 &DrovaneView_H::SetStrum));
}

// Every long-lived object, each after those it is built on.
void CreateObjects(StartupObjects &o, HINSTANCE instance, const TWaveFormatEx &format, const TunerOptions &options) {
  UninitCaller *root = o.Root();
  o.globals = MakeRC<Globals>(instance);
  Globals &g = *o.globals;
  o.timerDefaults = CreateTimerService(root, g);
  for (RCPtr<TimerNode> *t : {&o.t1, &o.t2, &o.t3, &o.t4, &o.t5}) *t = MakeRC<TimerNode>(root);
  g.view = MakeRC<DrovaneView_H>(root, instance);
  // The strobe shows tenths of a cent: it reads finely in any case.
  o.factory = CreateMeasurerFactory(&o.configurator, options.precise || options.strobe, options.tuning.strings);
  o.capture = CreateCaptureDevice(root);
  g.eventLoop = MakeRC<EventLoop>();
  o.playback = MakeRC<WaveOutEvent>(root);
  g.synth = CreateTonePlayer(root, format);
  g.appInfo = MakeRC<DrovaneMobInfo>();
  o.menuBar = MakeRC<MenuBarHolder>();
  g.menu = MakeRC<MenuMainDlgCE>(root, o.menuBar);
  auto results = MakeDelegateS<void(const Measure::Result *, unsigned int)>(&OnMeasurement);
  if (options.cue) {
    // The cue's zone is the screen's: "Ok" on the gauge, a cent on the strobe.
    o.cue = MakeRC<ProcessCue_H>(root, o.playback, g.synth, options.strobe ? 1.0 : 3.0, format.nSamplesPerSec);
    results.AddBindS(&CueOnMeasurement, o.cue);
  }
  o.pipeline = MakeRC<ProcessMeasure_H>(root, results, o.factory.get());
  if (options.strum) o.strum = CreateStrumCheck(o, options.tuning.Targets());
}

// The tone player writes to the playback device, whose done events refill it.
void WireTonePlayer(StartupObjects &o, const TWaveFormatEx &format) {
  WaveOutHandlers handlers = RefillHandlers(o.globals->synth);
  if (o.cue) handlers.done.AddBind(o.cue, &ProcessCue_H::Fill);
  OpenTonePlayback(o.playback, o.globals->synth, handlers, format);
}

// What the view calls: repaints, the tone player, note reports to the hint,
// A kept by the measurer, the client area, and its four timers (whose
// expiries call the view back).
ViewBindings MakeViewBindings(StartupObjects &o) {
  DrovaneView_H *view = o.globals->view.get();
  ViewBindings b;
  b.repaint.BindS(&RequestRepaint);
  b.repaintRect.BindS(&RequestRepaintRect);
  b.player.noteOn.Bind(o.globals->synth, &Synth_H::NoteOn);
  b.player.noteOff.Bind(o.globals->synth, &Synth_H::NoteOff);
  b.noteSelected.Bind(view, &DrovaneView_H::SelectNote);
  b.noteSelected.AddBindS(&SetNoteHint);
  b.setReference.Bind(o.pipeline, &ProcessMeasure_H::SetReferenceFrequency);
  b.getReference.Bind(o.pipeline, &ProcessMeasure_H::GetReferenceFrequency);
  b.getClientRect.BindS(&GetClientArea);
  WireViewTimers({o.t1.get(), o.t2.get(), o.t3.get(), o.t4.get(), o.t5.get()}, view, &b);
  return b;
}

// The menu's commands.
MenuBindings MakeMenuBindings(StartupObjects &o) {
  Globals &g = *o.globals;
  MenuBindings b;
  b.close.Bind(g.eventLoop, &EventLoop::Stop);
  b.stringIndex.Bind(g.view, &DrovaneView_H::SetStringSelectIndex);
  b.stringIndex.AddBindS(&SetStringNoteHint);
  b.stringIndex.AddBindS(&PlayChosenString);
  b.about.BindS(&ShowAbout);
  b.autoCalibrate.Bind(g.view, &DrovaneView_H::StartCalibration);
  return b;
}

// The window class and the main window; false, said on stderr, when the
// tuner can have no window.
bool CreateMainWindow(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &MainWndProc;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kClassName;
  if (!RegisterClassW(&wc)) {
    std::fputs("drovane: the main window's class could not be registered\n", stderr);
    return false;
  }
  HWND window = CreateWindowExW(WS_EX_CAPTIONOKBTN, kClassName, L"Drovane", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  Globals::current->mainWindow = window;
  if (!window) std::fputs("drovane: the main window could not be created\n", stderr);
  return window != nullptr;
}

// Capture wired and registered with the loop, the Back key hook, playback
// registered and started, capture position reset.
void WireDevices(StartupObjects &o, const TWaveFormatEx &captureFormat) {
  WaveInHandlers handlers;
  handlers.sample.Bind(o.pipeline, &ProcessMeasure_H::OnSample);
  if (o.strum) handlers.sample.AddBind(o.strum, &ProcessStrum_H::OnSample);
  if (o.cue) {
    // What the cue plays is cut from what the tuner hears.
    o.shield = MakeRC<CueShield>(o.Root(), captureFormat.nSamplesPerSec, handlers.sample);
    handlers.sample = CueShield::SampleDelegate();
    handlers.sample.Bind(o.shield, &CueShield::OnSample);
  }
  OpenCapture(*o.capture, handlers, captureFormat);
  EventLoop &loop = *o.globals->eventLoop;
  AddCaptureToLoop(loop, o.Root(), o.capture);
  loop.AddMessage(MakeRC<EventLoop::MessageNode>(o.Root(), MakeDelegateS<void(const tagMSG &, bool *)>(&BackKeyHook)),
                  WM_HOTKEY);
  AddPlaybackToLoop(loop, o.Root(), o.playback);
  o.playback->Start();
  o.capture->ResetPosition();
}

void SetUpView(DrovaneView_H &view, const TunerOptions &options) {
  view.SetStringNotes(options.tuning.strings.notes);
  view.SetTargets(options.tuning.Targets());
  view.SetStringSelectIndex(kStartString);
  DrovaneView_H::DisplayOptions shown{false, false, false, false, options.strum};
  shown.strobeScreen = options.strobe;
  shown.centsText = options.precise;
  view.SetOptions(shown);
}

}  // namespace

int RunApplication(HINSTANCE instance, const TunerOptions &options) {
  StartupObjects o;
  const TWaveFormatEx format = TWaveFormatEx::Default();
  const TWaveFormatEx captureFormat = TWaveFormatEx::Default();
  CreateObjects(o, instance, format, options);
  WireTonePlayer(o, format);
  o.globals->view->SetBindings(MakeViewBindings(o));
  o.globals->menu->SetBindings(MakeMenuBindings(o));
  if (!CreateMainWindow(instance)) return 1;
  WireDevices(o, captureFormat);
  SetUpView(*o.globals->view, options);
  ShowMainScreen();
  o.capture->Start();
  o.globals->eventLoop->Run();
  DestroyWindow(o.globals->mainWindow);
  return 0;
}
