#pragma once

#include "general/Delegate.h"
#include "general/UninitResident.h"

struct PlaySingleBindings {
  Delegate<void(int, int)> noteOn;  // (note, velocity)
  Delegate<void(int)> noteOff;      // (note)
};

// A one-voice note gate in front of a player: at most one note sounds, and a
// request for the note already requested last is ignored (the gate never
// reopens for it until another note has been requested).
//
// Thread: the program thread. Lifetime: registered with the tear-down root,
// whose uninit pass unbinds the bindings.
class VH_PlaySingle : public virtual CRefCounter {
 public:
  VH_PlaySingle(UninitCaller *root, const PlaySingleBindings &bindings);
  VH_PlaySingle(const VH_PlaySingle &) = delete;
  VH_PlaySingle &operator=(const VH_PlaySingle &) = delete;

  // `velocity` is not used: note-on always gets 127.
  void Play(int note, int velocity);

 private:
  void Uninit();

  bool sounding_ = false;
  int lastNote_ = 0;
  PlaySingleBindings bindings_;
  UninitResident resident_;
};
