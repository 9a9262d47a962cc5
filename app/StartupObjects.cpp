#include "StartupObjects.h"

StartupObjects::StartupObjects() : root(std::make_unique<UninitCaller>()) {}

StartupObjects::~StartupObjects() {
  t5.Reset();
  t4.Reset();
  t3.Reset();
  t2.Reset();
  t1.Reset();
  shield.Reset();
  cue.Reset();
  playback.Reset();
  menuBar.Reset();
  strum.Reset();
  pipeline.Reset();
  timerDefaults.Reset();
  configurator.Reset();
  factory.Reset();
  capture.Reset();
  globals.Reset();
  root.reset();
}
