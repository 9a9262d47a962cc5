#include "VH_PlaySingle.h"

VH_PlaySingle::VH_PlaySingle(UninitCaller *root, const PlaySingleBindings &bindings)
    : bindings_(bindings), resident_(root, this, MakeDelegate<void()>(this, &VH_PlaySingle::Uninit)) {}

void VH_PlaySingle::Play(int note, int) {
  if (sounding_ && note == lastNote_) return;
  if (sounding_) bindings_.noteOff(lastNote_);
  bindings_.noteOn(note, 127);
  lastNote_ = note;
  sounding_ = true;
}

void VH_PlaySingle::Uninit() { bindings_ = PlaySingleBindings(); }
