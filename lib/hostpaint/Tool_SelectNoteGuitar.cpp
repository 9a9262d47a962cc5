#include "Tool_SelectNoteGuitar.h"

#include "Rounding.h"

namespace {

// The hit test gives the note as a real number; bars carry whole notes.
bool HitNote(const MouseToolBindings &bindings, int x, int y, int *note) {
  double hit = 0;
  if (!bindings.hitTest(x, y, &hit)) return false;
  *note = Rounding::Nearest(hit);
  return true;
}

}  // namespace

Tool_SelectNoteGuitar::Tool_SelectNoteGuitar(const MouseToolBindings &bindings, const Callbacks &callbacks)
    : bindings_(bindings), callbacks_(callbacks) {}

void Tool_SelectNoteGuitar::OnEvent(int event, int x, int y, unsigned) {
  switch (event) {
    case kPress:
      // Only arm here: the tap comes with the release, so a press-release
      // on one bar is a single tap.
      if (HitNote(bindings_, x, y, &pressedNote_)) pressed_ = 1;
      break;
    case kRelease:
      if (!pressed_) break;
      if (OnPressedBar(x, y)) callbacks_.onTap(pressedNote_);
      EndPress();
      break;
    case kMove:
      if (pressed_ && !OnPressedBar(x, y)) EndPress();
      break;
    default:
      break;
  }
}

void Tool_SelectNoteGuitar::Cancel() {
  if (pressed_) callbacks_.onRelease();
  pressed_ = 0;
}

bool Tool_SelectNoteGuitar::OnPressedBar(int x, int y) {
  int note = 0;
  return HitNote(bindings_, x, y, &note) && note == pressedNote_;
}

void Tool_SelectNoteGuitar::EndPress() {
  pressed_ = 0;
  callbacks_.onRelease();
}
