#include "StartupAdapters.h"

#include "CreateMenuBar.h"
#include "Globals.h"
#include "MenuMainDlgCE.h"
#include "StringMenu.h"
#include "measure/MidiTypes.h"
#include "resources/ResourceIds.h"

namespace {

DrovaneView_H *View() { return Globals::current->view.get(); }

}  // namespace

void RequestRepaint() { InvalidateRect(Globals::current->mainWindow, nullptr, FALSE); }

void RequestRepaintRect(const RECT &rect) { InvalidateRect(Globals::current->mainWindow, &rect, FALSE); }

void GetClientArea(RECT *rect) { GetClientRect(Globals::current->mainWindow, rect); }

void PlaySelectedNote() {
  int note = 0;
  View()->GetStringSelect(&note);
  Globals::current->synth->Play(View()->Targets().Target(note));
}

void PlayChosenString(unsigned int) { PlaySelectedNote(); }

void SetNoteHint(int note) { SetWindowTextW(Globals::current->menu->HintWindow(), GetPitchShortName(note)); }

void SetStringNoteHint(unsigned int index) {
  if (index < static_cast<unsigned>(View()->Panel().strings)) SetNoteHint(View()->Panel().notes[index]);
}

void ShowMainScreen() {
  Globals &globals = *Globals::current;
  MenuMainDlgCE &menu = *globals.menu;
  menu.SetParent(globals.mainWindow, globals.instance);
  menu.MenuBar()->Reset(CreateMenuBar(ResourceIds::kMenuBar, globals.mainWindow, globals.instance));
  const GuitarPanel &strings = View()->Panel();
  LabelStringItems(menu.MenuBar()->Get(), {strings.notes, static_cast<size_t>(strings.strings)});
  SetFocus(globals.mainWindow);
  // The strum screen marks the chosen string's row instead of the hint,
  // which would cover a row; the strobe names the note it reads against.
  menu.ShowHint(!View()->Options().strumScreen && !View()->Options().strobeScreen);
  int note = View()->Note();
  View()->GetStringSelect(&note);
  SetNoteHint(note);
  RequestRepaint();
}

void OnMeasurement(const Measure::Result *records, unsigned int count) {
  if (count == 0) return;
  DrovaneView_H *view = View();
  const double note = records[0].note;
  if (RCPtr<UninitPtr<TunerDetectPitch>> detector = view->Detector()) {
    detector->get()->OnPitch(note, view->Bindings().getReference());
  } else if (!view->Options().strumScreen) {
    view->SetPitch(note);  // the strum screen's strings move with strums alone
  }
  // A reading the gauge shows already (silence after silence, a pitch that
  // moves neither the needle by a pixel nor the text by a digit) shows
  // nothing new; on the strobe, whose bands move by frames of their own, a
  // reading that changes none of its texts.
  if (view->Options().strobeScreen) {
    std::wstring now = view->StrobeShown();
    if (now == Globals::current->strobeShown) return;
    Globals::current->strobeShown.swap(now);
  } else if (view->Options().strumScreen) {
    Globals::Shown &shown = Globals::current->strumShown;
    const Globals::Shown now{view->Pitch(), view->Bindings().getReference(), view->Gauge().valid};
    if (now.pitch == shown.pitch && now.reference == shown.reference && now.valid == shown.valid) return;
    shown = now;
  } else if (view->GaugeUpToDate()) {
    return;
  }
  InvalidateRect(Globals::current->mainWindow, &view->GaugeRect(), FALSE);
}

void CueOnMeasurement(const Measure::Result *, unsigned int count, const RCPtr<ProcessCue_H> &cue) {
  if (count == 0) return;
  const DrovaneView_H *view = View();
  const bool heard = !view->Detector() && view->Gauge().valid;
  cue->OnReading(heard, (view->Pitch() - view->Targets().Target(view->Note())) * 100, GetTickCount() / 1000.0);
}

void CALLBACK StaticTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  Globals::current->timerManager->OnTimer(static_cast<unsigned int>(id));
}

void StopTimerNode(bool, TimerNode *node) { node->StopTimer(); }

void StartTimerNode(unsigned int period, bool repeat, unsigned int, TimerNode *node) {
  node->Start(period, repeat);
}
