#include "DrovaneView_H.h"

#include "Tool_PlayNoteGuitar.h"
#include "Tool_SelectNoteGuitar.h"
#include "general/CheckSites.h"
#include "measure/MidiTypes.h"

namespace {

void Style(FontSpec &style, const wchar_t *face, int size, bool bold, int align) {
  style.Create(face, size, bold);
  style.textColor = 0x000000;
  style.backMode = TRANSPARENT;
  style.textAlign = align;
}

bool NoCapture() { return false; }

}  // namespace

DrovaneView_H::DrovaneView_H(UninitCaller *root, HINSTANCE module)
    : panel_(module),
      resident_(root, this, MakeDelegate<void()>(this, &DrovaneView_H::Uninit),
                MakeDelegate<void()>(this, &DrovaneView_H::ReleaseHandlers)) {
  Style(titleStyle_, L"Verdana", 20, true, TA_BASELINE);
  Style(valueStyle_, L"Courier New", 16, false, TA_LEFT | TA_TOP);
  Style(hintStyle_, L"Arial", 16, false, TA_LEFT | TA_TOP);
  panel_.showNoteNames = false;
  panel_.showStringLabels = false;
  SetPitchNameStyle(PitchNameStyle::kMixed);
}

DrovaneView_H::~DrovaneView_H() = default;

void DrovaneView_H::Uninit() { bindings_ = ViewBindings(); }

void DrovaneView_H::ReleaseHandlers() {
  // The tools hold the view; dropping them may drop its last count, which
  // must wait until this function is done with the members.
  RCPtr<DrovaneView_H> keep(RefCount() > 0 ? this : nullptr);
  detector_.Reset();
  player_.Reset();
  ReleaseTools();
}

void DrovaneView_H::SetBindings(const ViewBindings &bindings) {
  bindings_ = bindings;
  ReleaseTools();
  player_ = MakeRC<VH_PlaySingle>(static_cast<UninitCaller *>(resident_), bindings_.player);
  MakeTools();
}

void DrovaneView_H::MakeTools() {
  MouseToolBindings tool;
  tool.hitTest.Bind(this, &DrovaneView_H::HitTest);
  tool.repaint = bindings_.repaint;
  tool.host = bindings_.toolHost;
  tool.captureWanted.BindS(&NoCapture);
  AddTool(MakeRC<Tool_PlayNoteGuitar>(static_cast<UninitCaller *>(resident_), tool, bindings_.player));
  Tool_SelectNoteGuitar::Callbacks callbacks;
  callbacks.onTap.Bind(this, &DrovaneView_H::PlayTapped);
  callbacks.onPreview.Bind(this, &DrovaneView_H::PreviewNote);
  callbacks.onRelease.Bind(this, &DrovaneView_H::RestoreNote);
  AddTool(MakeRC<Tool_SelectNoteGuitar>(tool, callbacks));
}

void DrovaneView_H::SetStringNotes(std::span<const int> notes) {
  const bool fits = notes.size() >= kFewestStrings && notes.size() <= GuitarPanel::kMostStrings;
  if (!Check(fits, CheckSites::kStringCountRefused)) return;
  panel_.strings = static_cast<int>(notes.size());
  for (int i = 0; i < GuitarPanel::kMostStrings; ++i) {
    const bool kept = i < panel_.strings;
    panel_.notes[i] = kept ? notes[i] : 0;
    panel_.selected[i] = panel_.selected[i] && kept;
    panel_.highlight[i] = panel_.highlight[i] && kept;
  }
  strumPanel_.rows = panel_.strings;
  bindings_.repaint();
}

void DrovaneView_H::SetStringSelectIndex(int index) {
  if (!Check(index >= 0 && index < panel_.strings, CheckSites::kStringIndexOutOfRange)) return;
  SetStringSelect(panel_.notes[index]);
}

void DrovaneView_H::SetStringSelect(int note) {
  bool found = false;
  for (int i = 0; i < panel_.strings; ++i) found = found || panel_.notes[i] == note;
  if (!Check(found, CheckSites::kNoteOfNoString)) return;
  SelectNote(note);
}

void DrovaneView_H::GetStringSelect(int *note) const {
  for (int i = 0; i < panel_.strings; ++i) {
    if (panel_.selected[i]) {
      *note = panel_.notes[i];
      return;
    }
  }
  Check(false, CheckSites::kNoStringSelected);
}

void DrovaneView_H::SelectNote(int note) {
  bool changed = note != note_;
  note_ = note;
  for (int i = 0; i < panel_.strings; ++i) {
    const bool selected = panel_.notes[i] == note;
    changed = changed || selected != panel_.selected[i];
    panel_.selected[i] = selected;
  }
  const bool forced = tempSelect_;
  tempSelect_ = false;
  if (!changed && !forced) return;
  bindings_.noteSelected(note);
  bindings_.repaint();
}

void DrovaneView_H::SetPitch(double pitch) {
  if (pitch != 0) {
    pitch_ = pitch;
    gauge_.valid = true;
    SelectNote(targets_.Nearest(pitch));
  } else {
    gauge_.valid = false;
  }
  if (options_.autoZoom) TrackInTune();
  FindHighlight();
  if (options_.strobeScreen) FollowStrobe();
}

void DrovaneView_H::SetStrum(const Strum::StrumReading &reading) {
  strumPanel_.SetReading(reading);
  bindings_.repaint();
}

void DrovaneView_H::OnPointerDown(int x, int y, unsigned flags) { Dispatch(MouseTool::kPress, x, y, flags); }

void DrovaneView_H::OnPointerUp(int x, int y, unsigned flags) {
  Dispatch(MouseTool::kRelease, x, y, flags);
  RECT client{};
  bindings_.getClientRect(&client);
  if (x < (client.right - client.left) * (2.0 / 3) && bindings_.gaugeTap.IsBound()) bindings_.gaugeTap();
}

bool DrovaneView_H::HitTest(int x, int y, double *note) { return panel_.HitTest(x, y, note); }

void DrovaneView_H::PlayTapped(int note) {
  if (tempSelect_) {
    SetStringSelect(savedNote_);
    tempSelect_ = false;
  }
  bindings_.noteSelected(note);
  if (player_) player_->Play(note, 127);
}

void DrovaneView_H::PreviewNote(int note) {
  GetStringSelect(&savedNote_);
  SetStringSelect(note);
  tempSelect_ = true;
}

void DrovaneView_H::RestoreNote() {
  if (tempSelect_) SetStringSelect(savedNote_);
  tempSelect_ = false;
}
