#pragma once

#include <memory>

#include "Globals.h"
#include "MenuMainDlgCE.h"
#include "CueShield.h"
#include "ProcessCue_H.h"
#include "ProcessStrum_H.h"
#include "general/TimerDefault_Manager.h"
#include "general/TimerNode.h"
#include "general/UninitCaller.h"
#include "measure/GuitarConfigurator.h"
#include "measure/IMeasurerFactory.h"
#include "measure/ProcessMeasure_H.h"
#include "soundbase/WaveInEvent.h"
#include "soundbase/WaveOutEvent.h"

// What start-up holds for the life of the loop, besides what it keeps in
// Globals: the tear-down root and the local references. Made empty but for
// the root; start-up fills it step by step. Destroying it is the shut-down,
// whether the loop ended or start-up stopped part-way: the references are
// released newest-dependent first (T5 .. T1, shield, cue, playback, menu bar, strum
// check, pipeline, timer defaults, configuration, factory, capture,
// Globals), then the root tears down whatever is still registered. Program
// thread.
struct StartupObjects {
  StartupObjects();
  ~StartupObjects();
  StartupObjects(const StartupObjects &) = delete;
  StartupObjects &operator=(const StartupObjects &) = delete;

  UninitCaller *Root() const { return root.get(); }

  std::unique_ptr<UninitCaller> root;
  RCPtr<Globals> globals;
  RCPtr<TimerDefault_Manager> timerDefaults;
  RCPtr<TimerNode> t1, t2, t3, t4, t5;  // in tune, zoom, highlight off, highlight on, frames
  RCPtr<IMeasurerFactory> factory;
  RCPtr<Measure::GuitarConfigurator> configurator;
  RCPtr<WaveInEvent> capture;
  RCPtr<WaveOutEvent> playback;
  RCPtr<MenuBarHolder> menuBar;
  RCPtr<ProcessMeasure_H> pipeline;
  RCPtr<ProcessStrum_H> strum;  // only for the strum screen
  RCPtr<ProcessCue_H> cue;      // only with the cue
  RCPtr<CueShield> shield;      // only with the cue
};
