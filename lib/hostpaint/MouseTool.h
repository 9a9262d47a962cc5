#pragma once

#include "general/CRefCounter.h"
#include "general/Delegate.h"

// What a pointer tool is given by the view. Only the hit test is called by
// the tools here; the others are carried for tools that draw or capture.
struct MouseToolBindings {
  // (x, y, out note): true, with the string's note, when the point lies on
  // a string bar.
  Delegate<bool(int, int, double *)> hitTest;
  Delegate<void()> repaint;
  Delegate<void()> host;           // the view bindings' tool entry
  Delegate<bool()> captureWanted;  // answers false in this program
};

// A pointer tool. Events: 2 press, 3 release, 4 move, with client
// coordinates and the platform's key-state flags. Counted; UI thread only.
class MouseTool : public virtual CRefCounter {
 public:
  enum Event { kPress = 2, kRelease = 3, kMove = 4 };

  virtual void OnEvent(int /*event*/, int /*x*/, int /*y*/, unsigned /*flags*/) {}
  // Abandons a press in progress.
  virtual void Cancel() {}
  // True when the tool wants the following events before any other tool.
  virtual bool IsCapturing() { return false; }

 protected:
  ~MouseTool() override = default;
};
