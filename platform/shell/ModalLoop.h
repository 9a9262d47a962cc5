#pragma once

// The shell's own message loop for a pop-up menu or a message box, as the
// phone runs them. While one is open it takes the phone's keys and stylus;
// the program's loop, its posted messages and its timers wait (nothing of
// the program runs), while driver occurrences go on inside the shell's wait
// (capture buffers fill and are signalled, to be handled afterwards). The
// loop waits without polling; on the virtual clock it lets time move to the
// next occurrence (scripted input among them). Program thread only.
#include <vector>

#include "win/window.h"

namespace platform::shell {

struct PhoneInput {
  enum class Kind { KeyDown, KeyUp, StylusDown, StylusMove, StylusUp };
  Kind kind;
  UINT key = 0;
  POINT point{0, 0};  // screen pixels
};

class ModalLoop {
 public:
  virtual ~ModalLoop() = default;

  // Shows the modal and handles its input until it closes (or until nothing
  // can ever happen again on the virtual clock, or RequestClose). False when
  // it could not be shown.
  bool Run();
  void Close() { closed_ = true; }

  // The open modal that takes input (the innermost), or null.
  static ModalLoop *Open();
  // Queues input for it and wakes its wait.
  void Deliver(const PhoneInput &input);
  // Closes every open modal (the desktop user closes the device).
  static void CloseAll();

 protected:
  virtual void Draw() = 0;
  virtual void Handle(const PhoneInput &input) = 0;

 private:
  bool closed_ = false;
  HANDLE wake_ = nullptr;
  std::vector<PhoneInput> queued_;
};

}  // namespace platform::shell
