#include "Globals.h"

#include "MenuMainDlgCE.h"

Globals *Globals::current = nullptr;

Globals::Globals(HINSTANCE instance) : instance(instance) {
  if (!Check(current == nullptr, CheckSites::kSecondGlobals)) return;
  current = this;
}

// Reset empties each field before its object is released.
Globals::~Globals() {
  synth.Reset();
  menu.Reset();
  view.Reset();
  eventLoop.Reset();
  timerManager.Reset();
  appInfo.Reset();
  if (current == this) current = nullptr;
}
