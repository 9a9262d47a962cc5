#pragma once

#include "general/Delegate.h"

// The commands of the soft-key menu, bound once by start-up.
struct MenuBindings {
  Delegate<void()> close;                    // the "Close" soft key
  Delegate<void(unsigned int)> stringIndex;  // a string chosen, 0 = the lowest
  Delegate<void()> about;
  Delegate<void()> autoCalibrate;
};
