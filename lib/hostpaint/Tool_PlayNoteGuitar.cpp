#include "Tool_PlayNoteGuitar.h"

#include "Rounding.h"

Tool_PlayNoteGuitar::Tool_PlayNoteGuitar(UninitCaller *root, const MouseToolBindings &bindings,
                                         const PlaySingleBindings &player)
    : bindings_(bindings), player_(MakeRC<VH_PlaySingle>(root, player)) {}

void Tool_PlayNoteGuitar::OnEvent(int event, int x, int y, unsigned) {
  if (event != kMove) return;
  double note = 0;
  if (bindings_.hitTest(x, y, &note))
    player_->Play(Rounding::Nearest(note), 127);
  else
    player_->Silence();
}
