#pragma once

#include "win/user.h"

// The event loop's hook for WM_HOTKEY: the phone's Back key becomes a
// backspace (key-down and character on press, key-up on release) for the
// window with the keyboard focus; other hot keys are dispatched unchanged.
// Always consumes the message. Program thread.
void BackKeyHook(const MSG &msg, bool *handled);
