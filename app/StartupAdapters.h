#pragma once

#include "ProcessCue_H.h"
#include "general/TimerNode.h"
#include "measure/MeasureResult.h"
#include "win/window.h"

// Small functions that start-up binds into delegates. Each reaches the main
// objects through Globals::current; program thread only.

// Invalidates the whole client area of the main window, without erasing.
void RequestRepaint();
// The same for a part of it.
void RequestRepaintRect(const RECT &rect);
void GetClientArea(RECT *rect);
// Plays the view's selected string on the tone player, where it is in tune
// (its target: temperament and offset).
void PlaySelectedNote();
// The same, in the shape of the menu's string command (the index is unused:
// the view has selected that string already).
void PlayChosenString(unsigned int index);
// Shows the note's short name in the menu's hint window.
void SetNoteHint(int note);
// The same for string `index` of the view (0 = the lowest).
void SetStringNoteHint(unsigned int index);
// The menu bar (its string items named after the view's strings), the
// focus, the hint with the selected note (none on the strum and strobe screens), a
// repaint.
void ShowMainScreen();
// The pipeline's results: the first record's note goes to the calibration
// detector while one runs, else to the view (but for the strum screen); then
// the gauge is invalidated, unless the view's reading and A stayed as they
// were at the last invalidation. A batch without records is ignored.
void OnMeasurement(const Measure::Result *records, unsigned int count);
// The same results for the cue, once the view has taken them: what the view
// shows is what the cue tells (nothing while calibrating).
void CueOnMeasurement(const Measure::Result *records, unsigned int count, const RCPtr<ProcessCue_H> &cue);
// The platform timer procedure of the timer service.
void CALLBACK StaticTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);

// A view timer control bound to a TimerNode (the node is the bound constant,
// not counted: shut-down releases the nodes before the timer service, and
// the view's tear-down unbinds these): stop(true) and start(period,
// repeating, 0).
void StopTimerNode(bool, TimerNode *node);
void StartTimerNode(unsigned int period, bool repeat, unsigned int, TimerNode *node);
