#pragma once

#include <span>

#include "DeviationGauge.h"
#include "FontSpec.h"
#include "GuitarPanel.h"
#include "MouseTool_Handler.h"
#include "StrobePanel.h"
#include "StrumPanel.h"
#include "ViewBindings.h"
#include "general/RCPtr.h"
#include "general/UninitPtr.h"
#include "general/UninitResident.h"
#include "measure/NoteTargets.h"
#include "measure/TunerDetectPitch.h"

// The tuner view: the needle gauge, the guitar panel, the result text and the
// selected note. It receives the measured pitch (MIDI note number, 0 = no
// pitch), paints on request into a DC it is given, and reaches the rest of
// the program only through its ViewBindings. Its timed behaviour (scale zoom,
// string highlight) runs on the four timers of the bindings, whose expiries
// start-up routes to the handlers below; automatic calibration feeds results
// to a TunerDetectPitch the view holds meanwhile.
//
// Thread: UI thread only. Lifetime: counted; registered with the tear-down
// root given at construction, whose uninit pass unbinds the bindings and
// whose release pass drops the detector, the player and the tools (the tools
// keep the view alive through a counted callback until then). Every drawing
// object is deleted once, with the view.
class DrovaneView_H : public MouseTool_Handler, public virtual CRefCounter {
 public:
  // What the view shows besides the gauge and the short text; all on after
  // construction but what the phone never had: the strum and strobe
  // screens, and the cents beside the short text's frequency.
  struct DisplayOptions {
    bool showMicHint = true;    // the microphone hint at the bottom
    bool detailedText = true;   // note, frequencies and MIDI numbers
    bool autoZoom = true;       // zoom the scale while in tune
    bool showGuitar = true;     // the guitar panel in the right third
    bool strumScreen = false;   // the strum panel alone, in place of all the rest
    bool strobeScreen = false;  // the strobe panel alone, in place of all the rest
    bool centsText = false;     // the deviation in cents beside the heard frequency
  };

  // Loads the guitar picture from `module` and sets the naming style of
  // notes to mixed (C# Eb F# G# Bb) for the whole program.
  DrovaneView_H(UninitCaller *root, HINSTANCE module);
  ~DrovaneView_H() override;
  DrovaneView_H(const DrovaneView_H &) = delete;
  DrovaneView_H &operator=(const DrovaneView_H &) = delete;

  // Copies the bindings and creates the one-voice player and the two pointer
  // tools (replacing those of an earlier call).
  void SetBindings(const ViewBindings &bindings);
  void SetOptions(const DisplayOptions &options) { options_ = options; }
  const DisplayOptions &Options() const { return options_; }

  // Lays the gauge and the panel out for a client area of w × h pixels.
  void SetClientSize(int width, int height);
  // Draws the whole view into `dc` (a w × h bitmap); the panel only if it
  // meets `paintRect`. The DC's text attributes are left as found.
  void Paint(HDC dc, int width, int height, const RECT &paintRect);

  // Where each note is in tune (the temperament and the strings' offsets):
  // the nearest note and the deviation the view shows follow them. Plain
  // (the phone's) until set.
  void SetTargets(const Measure::NoteTargets &targets) { targets_ = targets; }
  const Measure::NoteTargets &Targets() const { return targets_; }

  // A new measurement (0 = none): selects the nearest note, then runs the
  // in-tune tracking and the highlight search.
  void SetPitch(double pitch);
  // The strum check's reading of a strum, for the strum screen; repaints.
  void SetStrum(const Strum::StrumReading &reading);

  // The strings' notes, string 1 first: 4 to 9 of them (kFewestStrings to
  // GuitarPanel::kMostStrings); any other count is refused.
  static constexpr size_t kFewestStrings = 4;
  void SetStringNotes(std::span<const int> notes);
  void SetStringSelectIndex(int index);
  // Selects `note` if a string has it; otherwise refused, nothing changes.
  void SetStringSelect(int note);
  // The note of the first selected string; untouched when none is selected.
  void GetStringSelect(int *note) const;
  // Makes `note` the selected note; reports it (noteSelected, then repaint)
  // when anything changed or a temporary selection was in force.
  void SelectNote(int note);

  // Pointer press and release from the window, in client coordinates.
  void OnPointerDown(int x, int y, unsigned flags);
  void OnPointerUp(int x, int y, unsigned flags);

  // The tools' callbacks.
  bool HitTest(int x, int y, double *note);
  void PlayTapped(int note);
  void PreviewNote(int note);
  void RestoreNote();

  // Timer expiries: inTuneTimer, zoomTimer, highlightOnTimer, highlightOffTimer,
  // frameTimer (repaints the strobe's bands: it runs while the strobe
  // screen hears a note).
  void OnInTuneTimer();
  void OnZoomTimer();
  void HN_Do_Highlight_Start();
  void OnHighlightOffTimer();
  void OnFrameTimer();
  // One step of a running zoom; refused unless a zoom runs.
  void DS_On_Transit_Transit();

  // Automatic calibration: from now on results go to a new detector (see
  // Detector) until it finds a stable note; A then moves so that note is in
  // tune, and the detector is released.
  void StartCalibration();
  // The detector holder while calibrating, else empty. The copy keeps the
  // detector alive while the caller feeds it, even if it finishes meanwhile.
  RCPtr<UninitPtr<TunerDetectPitch>> Detector() const { return detector_; }

  // What the view calls outside itself; start-up's window procedure and
  // result handler read and set A through the same bindings.
  const ViewBindings &Bindings() const { return bindings_; }
  const RECT &GaugeRect() const { return gauge_.rect; }
  const DeviationGauge &Gauge() const { return gauge_; }
  const GuitarPanel &Panel() const { return panel_; }
  const StrumPanel &StrumScreen() const { return strumPanel_; }
  const StrobePanel &StrobeScreen() const { return strobePanel_; }
  // What the strobe screen shows but its bands' place (StrobePanel::Shown).
  std::wstring StrobeShown() const;
  // What the gauge screen would show now, as text (the same text, the same
  // pixels), and whether it shows just that already: the last paint that
  // took in the whole gauge painted it.
  std::wstring GaugeShown() const;
  bool GaugeUpToDate() const { return GaugeShown() == gaugePainted_; }
  double Pitch() const { return pitch_; }
  int Note() const { return note_; }
  bool TempSelect() const { return tempSelect_; }
  const RCPtr<VH_PlaySingle> &Player() const { return player_; }

 private:
  void Uninit();
  void ReleaseHandlers();
  void MakeTools();
  void Layout(int width, int height);
  void PaintTexts(HDC dc, int width, int height) const;
  void PaintDetailedText(HDC dc, const RECT &client) const;
  void PaintShortText(HDC dc, const RECT &client) const;
  std::wstring DetailedTitle() const;
  std::wstring DetailedBody() const;
  std::wstring ShortText() const;
  void PaintMicHint(HDC dc, int width, int height) const;
  // The pitch's deviation from where the selected note is in tune, semitones.
  double Deviation() const { return pitch_ - targets_.Target(note_); }
  void TrackInTune();
  void FollowStrobe();
  void FindHighlight();
  void ClearHighlights();
  void Restart(const ViewTimer &timer, unsigned int period, bool repeat);
  void OnCalibrationUpdate(double pitch, double reference);
  void OnCalibrationStable(double pitch, double reference);
  void DropDetector(TunerDetectPitch *detector);

  // Zoom (DS_) and highlight (HN_) state. The scale index is also the
  // target: 0 coarse, 1 fine.
  enum ZoomPhase : int32_t { kZoomIdle = 0, kZoomTransiting = 2 };
  int zoomTarget_ = 0;
  int zoomIndex_ = 0;
  double zoomFrom_ = 0;
  double zoomStep_ = 0;
  ZoomPhase zoomPhase_ = kZoomIdle;
  int highlightIndex_ = 0;
  bool highlightPending_ = false;  // highlightOnTimer runs for highlightIndex_

  FontSpec titleStyle_;
  FontSpec valueStyle_;
  FontSpec hintStyle_;
  GuitarPanel panel_;
  DeviationGauge gauge_;
  StrumPanel strumPanel_;
  StrobePanel strobePanel_;
  bool framing_ = false;  // frameTimer runs
  std::wstring gaugePainted_;  // GaugeShown() at the last paint of the whole gauge
  int bandsShift_ = -1;   // where the strobe's bands were last painted, or asked to be
  Measure::NoteTargets targets_;
  double pitch_ = 0;
  int note_ = 0;
  bool tempSelect_ = false;
  int savedNote_ = 0;
  DisplayOptions options_;
  RCPtr<VH_PlaySingle> player_;
  RCPtr<UninitPtr<TunerDetectPitch>> detector_;
  ViewBindings bindings_;
  UninitResident resident_;
};
