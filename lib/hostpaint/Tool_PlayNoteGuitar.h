#pragma once

#include "MouseTool.h"
#include "general/RCPtr.h"
#include "synth/VH_PlaySingle.h"

// The tool that sounds the string under a dragged pointer: a move over a bar
// plays its note through the tool's own one-voice gate, a move off every bar
// ends the sounding note. Press and release are ignored. Counted; UI thread
// only; its gate is registered with the tear-down root given.
class Tool_PlayNoteGuitar : public MouseTool {
 public:
  Tool_PlayNoteGuitar(UninitCaller *root, const MouseToolBindings &bindings, const PlaySingleBindings &player);

  void OnEvent(int event, int x, int y, unsigned flags) override;

  const RCPtr<VH_PlaySingle> &Player() const { return player_; }

 private:
  MouseToolBindings bindings_;
  RCPtr<VH_PlaySingle> player_;
};
