#pragma once

#include "MouseTool.h"
#include "general/DelegateRC.h"

// The tool that plays a tapped string: a press on a bar arms it, and the
// release over the same bar is the tap (onTap with the bar's note), so one
// press-release gives one tap and one tone. Leaving the bar, releasing
// elsewhere or Cancel ends the press with onRelease instead. Counted; UI
// thread only.
class Tool_SelectNoteGuitar : public MouseTool {
 public:
  struct Callbacks {
    Delegate<void(int)> onTap;
    Delegate<void(int)> onPreview;  // offered by the view; not called here
    DelegateRC<void()> onRelease;   // keeps its target alive
  };

  Tool_SelectNoteGuitar(const MouseToolBindings &bindings, const Callbacks &callbacks);

  void OnEvent(int event, int x, int y, unsigned flags) override;
  void Cancel() override;

  bool Pressed() const { return pressed_ != 0; }
  int PressedNote() const { return pressedNote_; }

 private:
  // True when (x, y) lies on a bar whose note is the pressed one.
  bool OnPressedBar(int x, int y);
  void EndPress();

  MouseToolBindings bindings_;
  int pressed_ = 0;
  int pressedNote_ = 0;
  Callbacks callbacks_;
};
